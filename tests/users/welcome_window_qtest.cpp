#include "common/dialog_answers.h"
#include "users/operating_mode.h"
#include "users/ui/welcome_window.h"
#include "users/user_manager.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

using namespace kalvero;
using kalvero::test::TDialogAnswers;

class TWelcomeWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TUserManager> FUsers;
    std::unique_ptr<TDialogAnswers> FAnswers;
    std::unique_ptr<TFormWelcome> FForm;

    template <typename T> T* Child(const char* name) const {
        T* child = FForm->findChild<T*>(QLatin1String(name));
        Q_ASSERT(child);
        return child;
    }
    QListWidget* List() const { return Child<QListWidget>("ListBoxUsers"); }
    QLineEdit* Edit() const { return Child<QLineEdit>("EditNewUser"); }
    void Click(const char* button) {
        QTest::mouseClick(Child<QPushButton>(button), Qt::LeftButton);
    }

    QStringList Listed() const {
        QStringList names;
        for (int row = 0; row < List()->count(); ++row)
            names << List()->item(row)->text();
        return names;
    }
    QString Selected() const {
        const QList<QListWidgetItem*> items = List()->selectedItems();
        return items.isEmpty() ? QString() : items.front()->text();
    }
    void Register(const QStringList& users, const QString& lastUser) {
        for (const QString& user : users)
            FUsers->SaveUser(user);
        if (!lastUser.isEmpty())
            FUsers->SetLastUser(lastUser);
    }
    void Open() {
        FForm = std::make_unique<TFormWelcome>();
        FForm->SetUserManager(FUsers.get());
        FForm->show();
    }
    // A real double click as Qt delivers it: press, release, press, double click, release.
    // (QTest::mouseDClick leaves out the second press, which item views need.)
    static void DoubleClick(QWidget* widget, QPoint at) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &dbl);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }
    bool Accepted() const { return !FForm->isVisible() && FForm->result() == QDialog::Accepted; }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        FUsers = std::make_unique<TUserManager>(UsersFilePath(FDir->path()));
        FAnswers = std::make_unique<TDialogAnswers>();
    }

    void cleanup() {
        FForm.reset();
        FAnswers.reset();
        FUsers.reset();
        FDir.reset();
    }

    void firstStartRegistersTypedUser() {
        Open();
        QCOMPARE(FForm->windowTitle(), QString("Kalvero 4 - Willkommen"));
        QCOMPARE(Child<QLabel>("LabelMode")->text(), QString("Therapeutenversion"));
        QCOMPARE(Child<QWidget>("PanelHead")->palette().color(QPalette::Window),
                 QColor(30, 70, 120));
        QVERIFY(List()->isVisible());
        QVERIFY(!Child<QLabel>("LabelSingle")->isVisible());
        QCOMPARE(List()->count(), 0);
        QVERIFY(!Child<QPushButton>("ButtonDeleteUser")->isEnabled());
        QVERIFY(Child<QPushButton>("ButtonStart")->isDefault());
        QCOMPARE(Edit()->maxLength(), 30);

        QTest::keyClicks(Edit(), "  Anton ");
        Click("ButtonStart");
        QVERIFY(Accepted());
        QCOMPARE(FForm->SelectedUser(), QString("Anton"));
        QCOMPARE(FUsers->GetUsers(), QStringList{"Anton"});
        QVERIFY(FAnswers->Messages.isEmpty());
    }

    void newUserIsRegisteredTrimmedAndSelected() {
        Register({"Zora"}, "Zora");
        Open();
        QTest::keyClicks(Edit(), "   Berta  ");
        Click("ButtonNewUser");
        QCOMPARE(FUsers->GetUsers(), (QStringList{"Berta", "Zora"}));
        QCOMPARE(Listed(), (QStringList{"Berta", "Zora"}));
        QCOMPARE(Selected(), QString("Berta"));
        QCOMPARE(Edit()->text(), QString());
        QVERIFY(FForm->isVisible());
    }

    void refusedNamesLeaveFileAlone_data() {
        QTest::addColumn<QStringList>("users");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank name, new user") << QStringList() << "   "
                                              << "ButtonNewUser"
                                              << "Bitte zuerst einen Namen eintragen.";
        QTest::newRow("blank name, start without a selection")
            << QStringList() << "   "
            << "ButtonStart"
            << QString::fromUtf8("Bitte einen Nutzer auswählen oder einen neuen anlegen.");
        QTest::newRow("same name in other case") << QStringList{"Anton"} << "anton"
                                                 << "ButtonNewUser"
                                                 << "Diesen Nutzer gibt es bereits.";
    }

    void refusedNamesLeaveFileAlone() {
        QFETCH(QStringList, users);
        QFETCH(QString, typed);
        QFETCH(QString, button);
        QFETCH(QString, message);
        Register(users, QString());
        Open();
        QTest::keyClicks(Edit(), typed);
        Click(button.toLatin1().constData());
        QCOMPARE(FAnswers->Texts(), QStringList{message});
        QCOMPARE(FAnswers->Messages.front().Kind, TMsgKind::Information);
        QCOMPARE(FUsers->GetUsers(), users);
        QVERIFY(FForm->isVisible());
    }

    void deletionSelectsLastUserOrFirst() {
        Register({"Carl", "Anton", "Berta"}, "Carl");
        Open();
        QCOMPARE(Listed(), (QStringList{"Anton", "Berta", "Carl"}));
        QCOMPARE(Selected(), QString("Carl")); // the last user of the previous start

        List()->setCurrentRow(1);
        FAnswers->ButtonAnswers = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Yes};
        Click("ButtonDeleteUser");
        QCOMPARE(FAnswers->Messages.back().Text,
                 QString::fromUtf8("Nutzer \"Berta\" aus der Liste löschen?\r\n\r\nDie Protokolle "
                                   "im Ordner \"Protokolle\" bleiben erhalten."));
        QCOMPARE(FAnswers->Messages.back().Buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(Listed(), (QStringList{"Anton", "Carl"}));
        QCOMPARE(Selected(), QString("Carl"));

        Click("ButtonDeleteUser"); // answered No
        QCOMPARE(Listed(), (QStringList{"Anton", "Carl"}));

        Click("ButtonDeleteUser");
        QCOMPARE(Listed(), QStringList{"Anton"});
        QCOMPARE(Selected(), QString("Anton"));
        QCOMPARE(FUsers->LastUser(), QString());

        FAnswers->ButtonAnswers = {QMessageBox::Yes};
        Click("ButtonDeleteUser");
        QCOMPARE(List()->count(), 0);
        QVERIFY(!Child<QPushButton>("ButtonDeleteUser")->isEnabled());
    }

    void patientModeOnEmptyFileGreetsPatient() {
        WriteOperatingMode(*FUsers, TOperatingMode::Patient);
        Open();
        QCOMPARE(Child<QLabel>("LabelMode")->text(), QString("Patientenversion"));
        QCOMPARE(Child<QLabel>("LabelSingle")->text(),
                 QString("Viel Erfolg beim Training, Patient."));
        QVERIFY(Child<QLabel>("LabelSingle")->isVisible());
        for (const char* hidden : {"ListBoxUsers", "ButtonDeleteUser", "EditNewUser",
                                   "ButtonNewUser", "LabelPlayers", "LabelNewUser"})
            QVERIFY2(!Child<QWidget>(hidden)->isVisible(), hidden);
        QVERIFY(FUsers->UserExists("Patient"));
        Click("ButtonStart");
        QVERIFY(Accepted());
        QCOMPARE(FForm->SelectedUser(), QString("Patient"));
    }

    void patientModeGreetsOneUser_data() {
        QTest::addColumn<QStringList>("users");
        QTest::addColumn<QString>("lastUser");
        QTest::addColumn<QString>("greeted");
        QTest::newRow("the only user") << QStringList{"Berta"} << "Zora"
                                       << "Berta";
        QTest::newRow("last user") << QStringList{"Anton", "Berta", "carl"} << "Berta"
                                   << "Berta";
        QTest::newRow("last user as written there") << QStringList{"Anton", "Berta"} << "BERTA"
                                                    << "BERTA";
        QTest::newRow("no last user") << QStringList{"Berta", "anton"} << ""
                                      << "anton";
        QTest::newRow("last user names nobody") << QStringList{"Berta", "anton"} << "Zora"
                                                << "anton";
    }

    void patientModeGreetsOneUser() {
        QFETCH(QStringList, users);
        QFETCH(QString, lastUser);
        QFETCH(QString, greeted);
        Register(users, lastUser);
        WriteOperatingMode(*FUsers, TOperatingMode::Patient);
        Open();
        QCOMPARE(Child<QLabel>("LabelSingle")->text(),
                 QString("Viel Erfolg beim Training, %1.").arg(greeted));
        Click("ButtonStart");
        QVERIFY(Accepted());
        QCOMPARE(FForm->SelectedUser(), greeted);
        QCOMPARE(FUsers->GetUsers().size(), users.size()); // nobody new registered
    }

    void quitReturnsNoUser_data() {
        QTest::addColumn<bool>("patient");
        QTest::newRow("therapist") << false;
        QTest::newRow("patient") << true;
    }

    void quitReturnsNoUser() {
        QFETCH(bool, patient);
        Register({"Anton"}, "Anton");
        if (patient)
            WriteOperatingMode(*FUsers, TOperatingMode::Patient);
        Open();
        QTest::keyClick(FForm.get(), Qt::Key_Escape);
        QVERIFY(!FForm->isVisible());
        QCOMPARE(FForm->result(), int(QDialog::Rejected));
        QCOMPARE(FForm->SelectedUser(), QString());
        Open();
        Click("ButtonQuit");
        QCOMPARE(FForm->result(), int(QDialog::Rejected));
        QCOMPARE(FForm->SelectedUser(), QString());
    }

    // The modal showing through Execute, closed by the keyboard.
    void executeClosesByKeys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("Esc") << "" << int(Qt::Key_Escape) << "";
        QTest::newRow("Enter takes the selected user") << "" << int(Qt::Key_Return) << "Anton";
        QTest::newRow("Enter in the edit registers the name")
            << "Neu" << int(Qt::Key_Return) << "Neu";
    }

    void executeClosesByKeys() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, chosen);
        Register({"Anton", "Berta"}, "Anton");
        bool watchdogFired = false;
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<TFormWelcome*>(QApplication::activeModalWidget());
            QVERIFY(form);
            QWidget* target = form->findChild<QListWidget*>("ListBoxUsers");
            if (!typed.isEmpty()) {
                target = form->findChild<QLineEdit*>("EditNewUser");
                QTest::keyClicks(target, typed);
            }
            QTest::keyClick(target, Qt::Key(key));
        });
        QTimer::singleShot(5000, [&] {
            if (QWidget* form = QApplication::activeModalWidget()) {
                watchdogFired = true;
                form->close();
            }
        });
        QCOMPARE(TFormWelcome::Execute(*FUsers), chosen);
        QVERIFY(!watchdogFired);
        QCOMPARE(FUsers->UserExists("Neu"), chosen == "Neu");
        QCOMPARE(FUsers->LastUser(), QString("Anton")); // the window leaves it to the caller
    }

    void doubleClickStarts_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("the clicked user") << ""
                                          << "Berta";
        QTest::newRow("a registered typed name is ignored") << "anton"
                                                            << "Berta";
        QTest::newRow("a new typed name wins") << "Neu"
                                               << "Neu";
    }

    void doubleClickStarts() {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        Register({"Anton", "Berta"}, "Anton");
        Open();
        QTest::keyClicks(Edit(), typed);
        QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
        const QRect berta = List()->visualItemRect(List()->item(1));
        DoubleClick(List()->viewport(), berta.center());
        QVERIFY(Accepted());
        QCOMPARE(FForm->SelectedUser(), chosen);
        QCOMPARE(FUsers->UserExists("Neu"), chosen == "Neu");
    }

    // A refused write of the users file is shown as an error; the window stays and chooses no one.
    void refusedWriteIsShownAndWindowStays() {
        QDir(FDir->path()).mkdir("users.ini");
        Open();
        QTest::keyClicks(Edit(), "Anton");
        Click("ButtonNewUser");
        Click("ButtonStart");
        const QString error = "In " + FUsers->FileName() + " kann nicht geschrieben werden";
        QCOMPARE(FAnswers->Texts(), (QStringList{error, error}));
        QCOMPARE(FAnswers->Messages.front().Kind, TMsgKind::Error);
        QVERIFY(FForm->isVisible());
        QCOMPARE(FForm->SelectedUser(), QString());
    }
};

QTEST_MAIN(TWelcomeWindowTest)
#include "welcome_window_qtest.moc"
