#pragma once

#include "platform/ui/dialogs.h"

#include <QList>
#include <QStringList>

namespace kalvero::test {

// Answers every message box and file dialog of the code under test and records what was asked.
// Installed for its lifetime. Unanswered questions get the default answer.
class TDialogAnswers final : public TDialogHandler {
public:
    TDialogAnswers();
    ~TDialogAnswers() override;

    // Queued answers, used in order; when empty, messages get DefaultButton and files "".
    QList<QMessageBox::StandardButton> ButtonAnswers;
    QStringList FileAnswers;
    QMessageBox::StandardButton DefaultButton = QMessageBox::Ok;

    QList<TMessageRequest> Messages;
    QList<TFileRequest> FileRequests;

    QStringList Texts() const;

    QMessageBox::StandardButton Message(const TMessageRequest& request) override;
    QString File(const TFileRequest& request) override;
};

} // namespace kalvero::test
