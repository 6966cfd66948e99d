#include "platform/ui/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace kalvero {

namespace {
TDialogHandler* gHandler = nullptr;

QMessageBox::Icon IconFor(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Information:
        return QMessageBox::Information;
    case TMsgKind::Warning:
        return QMessageBox::Warning;
    case TMsgKind::Error:
        return QMessageBox::Critical;
    case TMsgKind::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}
} // namespace

void SetDialogHandler(TDialogHandler* handler) {
    gHandler = handler;
}

QMessageBox::StandardButton ShowMessage(QWidget* parent, TMsgKind kind, const QString& title,
                                        const QString& text, QMessageBox::StandardButtons buttons) {
    if (gHandler)
        return gHandler->Message({kind, title, text, buttons});
    QMessageBox box(IconFor(kind), title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        entries << QStringLiteral("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    return entries.join(QStringLiteral(";;"));
}

QString ChooseOpenFile(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter) {
    if (gHandler)
        return gHandler->File({false, title, folder, filter, QString()});
    return QFileDialog::getOpenFileName(parent, title, folder, QtFileFilter(filter));
}

QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& folder,
                       const QString& filter, const QString& proposedName) {
    if (gHandler)
        return gHandler->File({true, title, folder, filter, proposedName});
    return QFileDialog::getSaveFileName(parent, title, QDir(folder).filePath(proposedName),
                                        QtFileFilter(filter));
}

} // namespace kalvero
