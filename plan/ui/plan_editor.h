#pragma once

#include "users/operating_mode.h"

#include <QDialog>
#include <QString>
#include <memory>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kalvero {

class TTrainingPlan;

// The plan editor: shows the user's stored plan; in therapist mode it writes new plans from the
// main window's settings or from a sequence file, stores and exports them; in both modes it reads
// plan files and removes the stored plan. Controls carry their names as object names.
class TFormPlan : public QDialog {
    Q_OBJECT

public:
    explicit TFormPlan(QWidget* AOwner = nullptr);
    ~TFormPlan() override;

    // Opens the window modally for AUser; true when the stored plan was written, replaced or
    // removed. ACurrentSettings is the settings object a plan from the current settings gets;
    // ATherapistName pre-fills the therapist field.
    static bool Execute(QWidget* AOwner, const QString& AUser, TOperatingMode AMode,
                        const QString& ACurrentSettings, const QString& ATherapistName);

    // Everything Execute does before showing the window.
    void Prepare(const QString& AUser, TOperatingMode AMode, const QString& ACurrentSettings,
                 const QString& ATherapistName);
    bool Changed() const { return FChanged; }

    void RefreshCurrentPlan();
    void FillSequenceList();
    // The plan the form describes, or none (no settings, or a sequence without readable
    // profiles, after a warning).
    std::unique_ptr<TTrainingPlan> BuildPlanFromForm();
    static QString ReadProfileJson(const QString& path);

private:
    void CreateControls();
    void CreateCreatePanel();
    void CreateButtons();
    void PrefillFromStoredPlan();
    void ButtonSaveClick();
    void ButtonExportClick();
    void ButtonImportClick();
    void ButtonRemoveClick();
    void SaveStoredPlan(const TTrainingPlan& plan);
    void Inform(const QString& text);
    // Runs a button action; a refused file write is reported and leaves the window open.
    template <typename Action> void Guarded(Action action);

    QString FUser;
    bool FTherapist = true;
    QString FCurrentSettings;
    bool FChanged = false;

    QFrame* PanelHead = nullptr;
    QLabel* LabelTitle = nullptr;
    QLabel* LabelCurrentCap = nullptr;
    QPlainTextEdit* MemoCurrent = nullptr;
    QFrame* PanelCreate = nullptr;
    QLabel* LabelCreate = nullptr;
    QRadioButton* RadioCurrent = nullptr;
    QRadioButton* RadioSequence = nullptr;
    QComboBox* ComboSequence = nullptr;
    QLabel* LabelMinutes = nullptr;
    QSpinBox* SpinMinutes = nullptr;
    QLabel* LabelTherapist = nullptr;
    QLineEdit* EditTherapist = nullptr;
    QLabel* LabelNote = nullptr;
    QPlainTextEdit* MemoNote = nullptr;
    QCheckBox* CheckLocked = nullptr;
    QCheckBox* CheckSearchTest = nullptr;
    QFrame* PanelButtons = nullptr;
    QPushButton* ButtonSave = nullptr;
    QPushButton* ButtonExport = nullptr;
    QPushButton* ButtonImport = nullptr;
    QPushButton* ButtonRemove = nullptr;
    QPushButton* ButtonClose = nullptr;
};

} // namespace kalvero
