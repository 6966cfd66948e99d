#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kalvero {

class TUserManager;

// The welcome window: the first window of every start and the one for changing the user.
// Therapist mode lists the registered users, creates and deletes users and chooses one; patient
// mode greets the single user and offers to start or to quit. The mode is read from the users
// file (users/operating_mode.h); the window never changes it, nor does it write "LastUser".
class TFormWelcome : public QDialog {
    Q_OBJECT

public:
    // Longest user name the window accepts.
    static constexpr int MaxNameLength = 30;

    explicit TFormWelcome(QWidget* parent = nullptr);
    ~TFormWelcome() override;

    // Opens the window modally; returns the chosen user, or "" when none was chosen.
    static QString Execute(TUserManager& users, QWidget* parent = nullptr);

    // Set before the window is shown; not owned.
    void SetUserManager(TUserManager* users) { FUserManager = users; }
    TUserManager* UserManager() const { return FUserManager; }
    // The chosen user after the window closed with OK; "" otherwise.
    const QString& SelectedUser() const { return FSelectedUser; }

    // Patient mode: the only user, else the last user, else the first; with no user at all
    // "Patient", who is registered at once.
    QString SingleUserName();
    // Therapist mode: fills the list, selects the last user (or the first), enables deleting.
    void RefreshUserList();

    void ButtonNewUserClick();
    void ButtonDeleteUserClick();
    void ButtonStartClick();
    void ListBoxUsersDblClick();

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void Prepare();
    void ShowModeControls();
    void StartTherapist();
    void SelectUser(const QString& name);
    QString SelectedListUser() const;
    void Inform(const QString& text);
    void InformAndEdit(const QString& text);
    template <typename Action> void Guarded(Action action);

    TUserManager* FUserManager = nullptr;
    QString FSelectedUser;
    bool FSinglePlayer = false;

    QFrame* PanelHead = nullptr;
    QLabel* LabelTitle = nullptr;
    QLabel* LabelMode = nullptr;
    QLabel* LabelPlayers = nullptr;
    QListWidget* ListBoxUsers = nullptr;
    QPushButton* ButtonDeleteUser = nullptr;
    QLabel* LabelNewUser = nullptr;
    QLineEdit* EditNewUser = nullptr;
    QPushButton* ButtonNewUser = nullptr;
    QLabel* LabelSingle = nullptr;
    QPushButton* ButtonStart = nullptr;
    QPushButton* ButtonQuit = nullptr;
};

} // namespace kalvero
