#include "common/dialog_answers.h"

namespace kalvero::test {

TDialogAnswers::TDialogAnswers() {
    SetDialogHandler(this);
}

TDialogAnswers::~TDialogAnswers() {
    SetDialogHandler(nullptr);
}

QStringList TDialogAnswers::Texts() const {
    QStringList texts;
    for (const auto& m : Messages)
        texts << m.Text;
    return texts;
}

QMessageBox::StandardButton TDialogAnswers::Message(const TMessageRequest& request) {
    Messages << request;
    return ButtonAnswers.isEmpty() ? DefaultButton : ButtonAnswers.takeFirst();
}

QString TDialogAnswers::File(const TFileRequest& request) {
    FileRequests << request;
    return FileAnswers.isEmpty() ? QString() : FileAnswers.takeFirst();
}

} // namespace kalvero::test
