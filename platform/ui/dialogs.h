#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace kalvero {

enum class TMsgKind { Information, Warning, Error, Question };

// Every message box and file dialog of the program goes through these functions.
// Tests install a TDialogHandler that answers them instead of showing windows.

// Shows a modal message box; returns the button pressed (QMessageBox::Ok for plain messages).
QMessageBox::StandardButton ShowMessage(QWidget* parent, TMsgKind kind, const QString& title,
                                        const QString& text,
                                        QMessageBox::StandardButtons buttons = QMessageBox::Ok);

// File dialogs. filter uses the "Description|*.ext|Other|*.a;*.b" form; returns "" on cancel.
QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter);
QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter, const QString& proposedName);

// "JSON Profile|*.json" -> "JSON Profile (*.json)", entries joined with ";;".
QString QtFileFilter(const QString& filter);

struct TMessageRequest {
    TMsgKind Kind;
    QString Title;
    QString Text;
    QMessageBox::StandardButtons Buttons;
};

struct TFileRequest {
    bool Save;
    QString Title;
    QString Folder;
    QString Filter;
    QString ProposedName;
};

class TDialogHandler {
public:
    virtual ~TDialogHandler() = default;
    virtual QMessageBox::StandardButton Message(const TMessageRequest& request) = 0;
    virtual QString File(const TFileRequest& request) = 0;
};

// Installs a handler (nullptr restores the real dialogs). The caller keeps ownership.
void SetDialogHandler(TDialogHandler* handler);

} // namespace kalvero
