#include "users/ui/welcome_window.h"

#include "platform/ui/dialogs.h"
#include "users/operating_mode.h"
#include "users/user_manager.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>
#include <exception>

namespace kalvero {

namespace {

const QString kMessageTitle = QStringLiteral("Kalvero 4");

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QFont SizedFont(const QFont& base, int pointSize, bool bold = false) {
    QFont font = base;
    font.setPointSize(pointSize);
    font.setBold(bold);
    return font;
}

template <typename T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TFormWelcome::TFormWelcome(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Kalvero 4 - Willkommen"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Segoe UI"), 10));
    CreateControls();
}

TFormWelcome::~TFormWelcome() = default;

void TFormWelcome::CreateControls() {
    PanelHead = Named(new QFrame(this), "PanelHead");
    PanelHead->setAutoFillBackground(true);
    QPalette headPalette = PanelHead->palette();
    headPalette.setColor(QPalette::Window, QColor(30, 70, 120));
    PanelHead->setPalette(headPalette);
    LabelTitle = Named(new QLabel(QStringLiteral("Kalvero 4"), PanelHead), "LabelTitle");
    LabelTitle->setFont(SizedFont(font(), 18, true));
    SetTextColour(LabelTitle, Qt::white);
    LabelMode = Named(new QLabel(PanelHead), "LabelMode");
    SetTextColour(LabelMode, QColor(221, 180, 128));
    auto* head = new QVBoxLayout(PanelHead);
    head->setContentsMargins(16, 12, 16, 12);
    head->addWidget(LabelTitle);
    head->addWidget(LabelMode);

    LabelPlayers = Named(new QLabel(QStringLiteral("Wer trainiert?"), this), "LabelPlayers");
    ListBoxUsers = Named(new QListWidget(this), "ListBoxUsers");
    ListBoxUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBoxUsers->setMinimumSize(280, 180);
    ButtonDeleteUser =
        Named(new QPushButton(QString::fromUtf8("Nutzer löschen"), this), "ButtonDeleteUser");
    LabelNewUser = Named(new QLabel(QStringLiteral("Neuer Nutzer (Name, max. 30 Zeichen)"), this),
                         "LabelNewUser");
    EditNewUser = Named(new QLineEdit(this), "EditNewUser");
    EditNewUser->setMaxLength(MaxNameLength);
    ButtonNewUser = Named(new QPushButton(QStringLiteral("Nutzer anlegen"), this), "ButtonNewUser");
    LabelSingle = Named(new QLabel(this), "LabelSingle");
    LabelSingle->setWordWrap(true);
    LabelSingle->setFont(SizedFont(font(), 14));
    LabelSingle->setMinimumWidth(380);
    ButtonStart = Named(new QPushButton(QStringLiteral("Los geht's"), this), "ButtonStart");
    ButtonStart->setFont(SizedFont(font(), font().pointSize(), true));
    ButtonStart->setDefault(true);
    ButtonQuit = Named(new QPushButton(QStringLiteral("Beenden"), this), "ButtonQuit");

    auto* listRow = new QHBoxLayout;
    listRow->addWidget(ListBoxUsers, 1);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(ButtonDeleteUser);
    listButtons->addStretch();
    listRow->addLayout(listButtons);
    auto* newRow = new QHBoxLayout;
    newRow->addWidget(EditNewUser, 1);
    newRow->addWidget(ButtonNewUser);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ButtonStart);
    buttonRow->addWidget(ButtonQuit);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 12, 16, 16);
    body->addWidget(LabelPlayers);
    body->addLayout(listRow);
    body->addWidget(LabelSingle);
    body->addWidget(LabelNewUser);
    body->addLayout(newRow);
    body->addSpacing(8);
    body->addLayout(buttonRow);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->addWidget(PanelHead);
    root->addLayout(body);

    connect(ButtonNewUser, &QPushButton::clicked, this, [this] { ButtonNewUserClick(); });
    connect(ButtonDeleteUser, &QPushButton::clicked, this, [this] { ButtonDeleteUserClick(); });
    connect(ButtonStart, &QPushButton::clicked, this, [this] { ButtonStartClick(); });
    connect(ButtonQuit, &QPushButton::clicked, this, [this] { reject(); });
    connect(ListBoxUsers, &QListWidget::itemDoubleClicked, this,
            [this] { ListBoxUsersDblClick(); });
}

QString TFormWelcome::Execute(TUserManager& users, QWidget* parent) {
    TFormWelcome form(parent);
    form.SetUserManager(&users);
    return form.exec() == QDialog::Accepted ? form.SelectedUser() : QString();
}

// Errors of the users file (a refused write) are shown here rather than thrown through Qt's
// event dispatch, which cannot carry exceptions; the window stays open.
template <typename Action> void TFormWelcome::Guarded(Action action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowMessage(this, TMsgKind::Error, kMessageTitle, QString::fromUtf8(error.what()));
    }
}

void TFormWelcome::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        Guarded([this] { Prepare(); });
        adjustSize();
        if (QScreen* s = screen())
            move(s->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TFormWelcome::Prepare() {
    FSelectedUser.clear();
    FSinglePlayer = FUserManager && ReadOperatingMode(*FUserManager) == TOperatingMode::Patient;
    ShowModeControls();
    if (FSinglePlayer) {
        LabelSingle->setText(
            QStringLiteral("Viel Erfolg beim Training, %1.").arg(SingleUserName()));
        ButtonStart->setFocus();
    } else {
        RefreshUserList();
        if (ListBoxUsers->count() > 0)
            ListBoxUsers->setFocus();
        else
            EditNewUser->setFocus();
    }
}

void TFormWelcome::ShowModeControls() {
    LabelMode->setText(
        OperatingModeCaption(FSinglePlayer ? TOperatingMode::Patient : TOperatingMode::Therapist));
    for (QWidget* w : {static_cast<QWidget*>(LabelPlayers), static_cast<QWidget*>(ListBoxUsers),
                       static_cast<QWidget*>(ButtonDeleteUser), static_cast<QWidget*>(LabelNewUser),
                       static_cast<QWidget*>(EditNewUser), static_cast<QWidget*>(ButtonNewUser)})
        w->setVisible(!FSinglePlayer);
    LabelSingle->setVisible(FSinglePlayer);
}

QString TFormWelcome::SingleUserName() {
    if (!FUserManager)
        return QString();
    const QStringList users = FUserManager->GetUsers();
    if (users.size() == 1)
        return users.front();
    const QString last = FUserManager->LastUser();
    if (!last.isEmpty() && users.contains(last, Qt::CaseInsensitive))
        return last;
    if (!users.isEmpty())
        return users.front();
    const QString patient = QStringLiteral("Patient");
    FUserManager->SaveUser(patient);
    return patient;
}

void TFormWelcome::RefreshUserList() {
    ListBoxUsers->clear();
    if (FUserManager) {
        ListBoxUsers->addItems(FUserManager->GetUsers());
        SelectUser(FUserManager->LastUser());
    }
    if (SelectedListUser().isEmpty() && ListBoxUsers->count() > 0)
        ListBoxUsers->setCurrentRow(0);
    ButtonDeleteUser->setEnabled(ListBoxUsers->count() > 0);
}

void TFormWelcome::SelectUser(const QString& name) {
    if (name.isEmpty())
        return;
    for (int row = 0; row < ListBoxUsers->count(); ++row)
        if (ListBoxUsers->item(row)->text().compare(name, Qt::CaseInsensitive) == 0) {
            ListBoxUsers->setCurrentRow(row);
            return;
        }
}

QString TFormWelcome::SelectedListUser() const {
    const QListWidgetItem* item = ListBoxUsers->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TFormWelcome::Inform(const QString& text) {
    ShowMessage(this, TMsgKind::Information, kMessageTitle, text);
}

void TFormWelcome::InformAndEdit(const QString& text) {
    Inform(text);
    EditNewUser->setFocus();
}

void TFormWelcome::ButtonNewUserClick() {
    const QString name = TrimName(EditNewUser->text());
    if (name.isEmpty())
        return InformAndEdit(QStringLiteral("Bitte zuerst einen Namen eintragen."));
    if (name.size() > MaxNameLength)
        return InformAndEdit(
            QString::fromUtf8("Der Name darf höchstens %1 Zeichen lang sein.").arg(MaxNameLength));
    if (!FUserManager)
        return;
    Guarded([&] {
        if (FUserManager->UserExists(name))
            return Inform(QStringLiteral("Diesen Nutzer gibt es bereits."));
        FUserManager->SaveUser(name);
        EditNewUser->clear();
        RefreshUserList();
        SelectUser(name);
    });
}

void TFormWelcome::ButtonDeleteUserClick() {
    const QString user = SelectedListUser();
    if (user.isEmpty() || !FUserManager)
        return;
    const QString question =
        QString::fromUtf8("Nutzer \"%1\" aus der Liste löschen?\r\n\r\nDie Protokolle im Ordner "
                          "\"Protokolle\" bleiben erhalten.")
            .arg(user);
    if (ShowMessage(this, TMsgKind::Question, kMessageTitle, question,
                    QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    Guarded([&] {
        FUserManager->DeleteUser(user);
        RefreshUserList();
    });
}

void TFormWelcome::ButtonStartClick() {
    if (!FSinglePlayer)
        return StartTherapist();
    Guarded([this] {
        FSelectedUser = SingleUserName();
        if (!FSelectedUser.isEmpty())
            accept();
    });
}

void TFormWelcome::StartTherapist() {
    const QString typed = TrimName(EditNewUser->text());
    if (typed.size() > MaxNameLength)
        return InformAndEdit(
            QString::fromUtf8("Der Name darf höchstens %1 Zeichen lang sein.").arg(MaxNameLength));
    if (!FUserManager)
        return;
    Guarded([&] {
        // A typed name that is already registered is ignored: the list's selection decides.
        if (!typed.isEmpty() && !FUserManager->UserExists(typed)) {
            FUserManager->SaveUser(typed);
            RefreshUserList();
            SelectUser(typed);
        }
        const QString user = SelectedListUser();
        if (user.isEmpty())
            return Inform(QStringLiteral("Bitte einen Nutzer auswählen oder einen neuen anlegen."));
        FSelectedUser = user;
        accept();
    });
}

void TFormWelcome::ListBoxUsersDblClick() {
    if (!SelectedListUser().isEmpty() && ButtonStart->isEnabled())
        ButtonStartClick();
}

void TFormWelcome::reject() {
    FSelectedUser.clear();
    QDialog::reject();
}

} // namespace kalvero
