#include "plan/ui/plan_editor.h"

#include "plan/plan_sources.h"
#include "plan/training_plan.h"
#include "platform/atomic_file.h"
#include "platform/ui/dialogs.h"
#include "users/data_folder.h"
#include "users/user_manager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>

namespace kalvero {

namespace {

const QString kMessageTitle = QStringLiteral("Kalvero 4");
const QString kOpenTitle = QStringLiteral("Trainingsplan einlesen");
const QString kOpenFilter = QStringLiteral("Trainingsplan (*.kvplan)|*.kvplan|Alle Dateien|*.*");
const QString kSaveTitle = QStringLiteral("Trainingsplan weitergeben");
const QString kSaveFilter = QStringLiteral("Trainingsplan (*.kvplan)|*.kvplan");
const QString kPlanExtension = QStringLiteral("kvplan");

// Window geometry in pixels of the client area.
constexpr int kClientWidth = 620;
constexpr int kMargin = 12;
constexpr int kInnerWidth = kClientWidth - 2 * kMargin;
constexpr int kHeadHeight = 44;
constexpr int kCreateTop = 216;
constexpr int kCreateHeight = 306;
constexpr int kButtonsHeight = 48;
constexpr int kMinutesMax = 180;
constexpr int kMinutesDefault = 20;

// Memos show line feeds; plan texts carry CR LF.
QString ForMemo(const QString& text) {
    return QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

QString FromMemo(const QPlainTextEdit* memo) {
    return memo->toPlainText().replace('\n', QLatin1String("\r\n"));
}

// A typed file name without extension gets the plan extension, as the dialogs promise.
QString WithPlanExtension(const QString& file) {
    return QFileInfo(file).suffix().isEmpty() ? file + '.' + kPlanExtension : file;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    return label;
}

template <typename TWidget> TWidget* Named(TWidget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

} // namespace

template <typename Action> void TFormPlan::Guarded(Action action) {
    // Qt's event dispatch cannot carry exceptions, so a refused write is shown here; the stored
    // plan, the summary and the changed flag then stay as they were.
    try {
        action();
    } catch (const std::exception& error) {
        ShowMessage(this, TMsgKind::Error, kMessageTitle, QString::fromUtf8(error.what()));
    }
}

TFormPlan::TFormPlan(QWidget* AOwner) : QDialog(AOwner) {
    setObjectName(QStringLiteral("FormPlan"));
    setWindowTitle(QStringLiteral("Kalvero 4 - Trainingsplan"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    CreateControls();
    setFixedSize(kClientWidth, kCreateTop + kCreateHeight + kButtonsHeight);
}

TFormPlan::~TFormPlan() = default;

void TFormPlan::CreateControls() {
    PanelHead = Named(new QFrame(this), "PanelHead", {0, 0, kClientWidth, kHeadHeight});
    PanelHead->setAutoFillBackground(true);
    PanelHead->setBackgroundRole(QPalette::Mid);
    LabelTitle = MakeLabel(PanelHead, "LabelTitle", QStringLiteral("Trainingsplan"),
                           {kMargin, 0, kInnerWidth, kHeadHeight});
    QFont titleFont = LabelTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    LabelTitle->setFont(titleFont);

    LabelCurrentCap = MakeLabel(this, "LabelCurrentCap", QStringLiteral("Aktueller Plan"),
                                {kMargin, 54, kInnerWidth, 20});
    MemoCurrent = Named(new QPlainTextEdit(this), "MemoCurrent", {kMargin, 76, kInnerWidth, 130});
    MemoCurrent->setReadOnly(true);
    MemoCurrent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    CreateCreatePanel();
    CreateButtons();
}

void TFormPlan::CreateCreatePanel() {
    PanelCreate =
        Named(new QFrame(this), "PanelCreate", {0, kCreateTop, kClientWidth, kCreateHeight});
    PanelCreate->setFrameShape(QFrame::NoFrame);
    LabelCreate = MakeLabel(PanelCreate, "LabelCreate", QStringLiteral("Neuen Plan erstellen"),
                            {kMargin, 0, kInnerWidth, 20});
    QFont bold = LabelCreate->font();
    bold.setBold(true);
    LabelCreate->setFont(bold);

    RadioCurrent =
        Named(new QRadioButton(QStringLiteral("Die aktuellen Einstellungen im Hauptfenster"),
                               PanelCreate),
              "RadioCurrent", {kMargin, 26, kInnerWidth, 22});
    RadioSequence = Named(new QRadioButton(QStringLiteral("Eine Sequenz:"), PanelCreate),
                          "RadioSequence", {kMargin, 53, 130, 22});
    ComboSequence = Named(new QComboBox(PanelCreate), "ComboSequence",
                          {150, 52, kClientWidth - kMargin - 150, 24});
    ComboSequence->setEditable(false);
    connect(ComboSequence, &QComboBox::activated, this,
            [this] { RadioSequence->setChecked(true); });

    LabelMinutes = MakeLabel(PanelCreate, "LabelMinutes",
                             QStringLiteral("Minuten je Training (0 = ohne Begrenzung)"),
                             {kMargin, 88, 400, 22});
    SpinMinutes = Named(new QSpinBox(PanelCreate), "SpinMinutes", {420, 87, 90, 24});
    SpinMinutes->setRange(0, kMinutesMax);
    SpinMinutes->setValue(kMinutesDefault);

    LabelTherapist = MakeLabel(PanelCreate, "LabelTherapist",
                               QStringLiteral("Therapeutin / Therapeut"), {kMargin, 120, 200, 22});
    EditTherapist = Named(new QLineEdit(PanelCreate), "EditTherapist",
                          {220, 119, kClientWidth - kMargin - 220, 24});

    LabelNote = MakeLabel(PanelCreate, "LabelNote", QStringLiteral("Hinweis für den Patienten"),
                          {kMargin, 152, kInnerWidth, 20});
    MemoNote = Named(new QPlainTextEdit(PanelCreate), "MemoNote", {kMargin, 174, kInnerWidth, 70});

    CheckLocked = Named(new QCheckBox(QStringLiteral("In der Patientenversion nur nach diesem "
                                                     "Plan trainieren (Einstellungen gesperrt)"),
                                      PanelCreate),
                        "CheckLocked", {kMargin, 252, kInnerWidth, 22});
    CheckSearchTest =
        Named(new QCheckBox(QStringLiteral("Vor und nach dem Training eine kurze Suchaufgabe "
                                           "(Auslassungen links/rechts, Zeit)"),
                            PanelCreate),
              "CheckSearchTest", {kMargin, 278, kInnerWidth, 22});
}

void TFormPlan::CreateButtons() {
    PanelButtons = Named(new QFrame(this), "PanelButtons",
                         {0, kCreateTop + kCreateHeight, kClientWidth, kButtonsHeight});
    auto* row = new QHBoxLayout(PanelButtons);
    row->setContentsMargins(kMargin, 8, kMargin, 8);
    ButtonSave = MakeButton(PanelButtons, "ButtonSave", QStringLiteral("Plan speichern"));
    ButtonExport =
        MakeButton(PanelButtons, "ButtonExport", QStringLiteral("Als Datei weitergeben ..."));
    ButtonImport = MakeButton(PanelButtons, "ButtonImport", QStringLiteral("Plan einlesen ..."));
    ButtonRemove = MakeButton(PanelButtons, "ButtonRemove", QStringLiteral("Entfernen"));
    ButtonClose = MakeButton(PanelButtons, "ButtonClose", QStringLiteral("Schließen"));
    for (QPushButton* button : {ButtonSave, ButtonExport, ButtonImport, ButtonRemove})
        row->addWidget(button);
    row->addStretch(1);
    row->addWidget(ButtonClose);

    connect(ButtonSave, &QPushButton::clicked, this,
            [this] { Guarded([this] { ButtonSaveClick(); }); });
    connect(ButtonExport, &QPushButton::clicked, this,
            [this] { Guarded([this] { ButtonExportClick(); }); });
    connect(ButtonImport, &QPushButton::clicked, this,
            [this] { Guarded([this] { ButtonImportClick(); }); });
    connect(ButtonRemove, &QPushButton::clicked, this,
            [this] { Guarded([this] { ButtonRemoveClick(); }); });
    // Esc closes the dialog as well (QDialog's reject).
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFormPlan::Execute(QWidget* AOwner, const QString& AUser, TOperatingMode AMode,
                        const QString& ACurrentSettings, const QString& ATherapistName) {
    TFormPlan form(AOwner);
    form.Prepare(AUser, AMode, ACurrentSettings, ATherapistName);
    form.exec();
    return form.Changed();
}

void TFormPlan::Prepare(const QString& AUser, TOperatingMode AMode, const QString& ACurrentSettings,
                        const QString& ATherapistName) {
    FUser = AUser;
    FTherapist = AMode == TOperatingMode::Therapist;
    FCurrentSettings = ACurrentSettings;
    FChanged = false;

    PanelCreate->setVisible(FTherapist);
    ButtonSave->setVisible(FTherapist);
    ButtonExport->setVisible(FTherapist);
    if (FTherapist) {
        LabelTitle->setText(QStringLiteral("Trainingsplan für ") + FUser);
        ButtonImport->setText(QStringLiteral("Plan einlesen ..."));
        FillSequenceList();
        EditTherapist->setText(ATherapistName);
        PrefillFromStoredPlan();
        setFixedSize(kClientWidth, kCreateTop + kCreateHeight + kButtonsHeight);
        PanelButtons->move(0, kCreateTop + kCreateHeight);
    } else {
        LabelTitle->setText(QStringLiteral("Ihr Trainingsplan"));
        ButtonImport->setText(QStringLiteral("Trainingsplan einlesen ..."));
        // The button band follows directly on the current-plan area.
        PanelButtons->move(0, PanelCreate->y());
        setFixedSize(kClientWidth, PanelCreate->y() + PanelButtons->height());
    }
    RefreshCurrentPlan();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFormPlan::PrefillFromStoredPlan() {
    const std::unique_ptr<TTrainingPlan> plan = LoadStoredPlan(FUser);
    if (!plan)
        return;
    SpinMinutes->setValue(plan->Minutes); // held within 0 .. 180 by the spin edit
    if (!plan->Therapist.isEmpty())
        EditTherapist->setText(plan->Therapist);
    MemoNote->setPlainText(ForMemo(plan->Note));
    CheckLocked->setChecked(plan->Locked);
    CheckSearchTest->setChecked(plan->SearchTest);
    if (plan->Kind == pkSequence) {
        const int index = ComboSequence->findText(plan->Name, Qt::MatchExactly);
        if (index >= 0) {
            ComboSequence->setCurrentIndex(index);
            RadioSequence->setChecked(true);
        }
    }
}

void TFormPlan::RefreshCurrentPlan() {
    const std::unique_ptr<TTrainingPlan> plan = LoadStoredPlan(FUser);
    ButtonRemove->setEnabled(plan != nullptr);
    if (plan) {
        MemoCurrent->setPlainText(ForMemo(plan->Summary()));
    } else if (FTherapist) {
        MemoCurrent->setPlainText(QStringLiteral("Für ") + FUser +
                                  QStringLiteral(" gibt es noch keinen Trainingsplan. "
                                                 "Ohne Plan wird mit den Einstellungen im "
                                                 "Hauptfenster trainiert."));
    } else {
        MemoCurrent->setPlainText(ForMemo(
            QStringLiteral("Es ist kein Trainingsplan eingelesen. Sie trainieren mit Ihren "
                           "eigenen Einstellungen im Hauptfenster.\r\n\r\nHat Ihnen Ihre "
                           "Therapeutin oder Ihr Therapeut einen Plan gegeben (Datei mit der "
                           "Endung .kvplan), lesen Sie ihn mit \"Trainingsplan einlesen\" ein.")));
    }
}

void TFormPlan::FillSequenceList() {
    ComboSequence->clear();
    const QDir folder(GetProfilesFolder());
    if (folder.exists()) {
        const QFileInfoList files = folder.entryInfoList(
            {QStringLiteral("*.seq")}, QDir::Files | QDir::Hidden, QDir::Unsorted);
        for (const QFileInfo& file : files)
            ComboSequence->addItem(file.completeBaseName());
    }
    const bool any = ComboSequence->count() > 0;
    RadioSequence->setEnabled(any);
    ComboSequence->setEnabled(any);
    if (any)
        ComboSequence->setCurrentIndex(0);
    RadioCurrent->setChecked(true);
}

std::unique_ptr<TTrainingPlan> TFormPlan::BuildPlanFromForm() {
    auto plan = std::make_unique<TTrainingPlan>();
    plan->Patient = FUser;
    plan->Therapist = TrimLowCodes(EditTherapist->text());
    plan->Created = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
    plan->Note = TrimLowCodes(FromMemo(MemoNote));
    plan->Minutes = SpinMinutes->value();
    plan->Locked = CheckLocked->isChecked();
    plan->SearchTest = CheckSearchTest->isChecked();

    if (!RadioSequence->isChecked() || ComboSequence->currentIndex() < 0) {
        plan->Kind = pkProfile;
        plan->Settings = FCurrentSettings;
        if (plan->Settings.isEmpty())
            return nullptr;
        return plan;
    }

    plan->Kind = pkSequence;
    plan->Name = ComboSequence->currentText();
    TSequenceSections sections = ReadSequenceSections(
        GetProfilesFolder() + plan->Name + QStringLiteral(".seq"), GetProfilesFolder());
    if (sections.Items.empty()) {
        ShowMessage(this, TMsgKind::Warning, kMessageTitle,
                    QStringLiteral("Die Sequenz \"") + plan->Name +
                        QStringLiteral("\" enthält keine lesbaren Profile."));
        return nullptr;
    }
    if (sections.Missing > 0)
        ShowMessage(this, TMsgKind::Warning, kMessageTitle,
                    QStringLiteral("%1 Profil(e) der Sequenz wurden nicht gefunden und fehlen im "
                                   "Plan.")
                        .arg(sections.Missing));
    plan->Items = std::move(sections.Items);
    return plan;
}

QString TFormPlan::ReadProfileJson(const QString& path) {
    return kalvero::ReadProfileJson(path);
}

void TFormPlan::Inform(const QString& text) {
    ShowMessage(this, TMsgKind::Information, kMessageTitle, text);
}

void TFormPlan::SaveStoredPlan(const TTrainingPlan& plan) {
    plan.SaveToFile(GetUserPlanFile(FUser));
    FChanged = true;
    RefreshCurrentPlan();
}

void TFormPlan::ButtonSaveClick() {
    const std::unique_ptr<TTrainingPlan> plan = BuildPlanFromForm();
    if (!plan)
        return;
    SaveStoredPlan(*plan);
    Inform(QStringLiteral("Der Plan ist für ") + FUser + QStringLiteral(" gespeichert."));
}

void TFormPlan::ButtonExportClick() {
    const std::unique_ptr<TTrainingPlan> plan = BuildPlanFromForm();
    if (!plan)
        return;
    const QString proposed =
        QStringLiteral("Trainingsplan ") + UserFileName(FUser) + '.' + kPlanExtension;
    QString file = ChooseSaveFile(this, kSaveTitle, QString(), kSaveFilter, proposed);
    if (file.isEmpty())
        return;
    file = WithPlanExtension(file);
    plan->SaveToFile(file);
    SaveStoredPlan(*plan);
    Inform(QStringLiteral("Der Plan ist gespeichert:\r\n") + file + QStringLiteral("\r\n\r\n") +
           QStringLiteral("Geben Sie diese Datei dem Patienten, z. B. auf einem USB-Stick oder ") +
           QStringLiteral("per E-Mail. In der Patientenversion liest er sie unter "
                          "\"Trainingsplan ...\" ein."));
}

void TFormPlan::ButtonImportClick() {
    QString file = ChooseOpenFile(this, kOpenTitle, QString(), kOpenFilter);
    if (file.isEmpty())
        return;
    if (!QFileInfo::exists(file) && QFileInfo::exists(WithPlanExtension(file)))
        file = WithPlanExtension(file);
    TTrainingPlan plan;
    if (!plan.LoadFromFile(file)) {
        ShowMessage(this, TMsgKind::Error, kMessageTitle,
                    QStringLiteral("Diese Datei ist kein lesbarer Trainingsplan von Kalvero 4."));
        return;
    }
    SaveStoredPlan(plan);
    Inform(QStringLiteral("Der Trainingsplan ist eingelesen."));
}

void TFormPlan::ButtonRemoveClick() {
    const QString file = GetUserPlanFile(FUser);
    if (!QFileInfo::exists(file))
        return;
    const auto answer =
        ShowMessage(this, TMsgKind::Question, kMessageTitle,
                    QStringLiteral("Den Trainingsplan entfernen? Danach wird mit den "
                                   "Einstellungen im Hauptfenster trainiert."),
                    QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    if (!QFile::remove(file))
        throw TWriteError(file);
    FChanged = true;
    RefreshCurrentPlan();
}

} // namespace kalvero
