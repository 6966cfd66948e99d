#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace kalvero {

// The sequence manager: saved profiles are put into an order and saved as a sequence file
// (".seq") in the writer form. The lists reflect the profiles folder at the moment the window
// is created; the window stays open after saving, so several sequences can be saved.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    // Creates the profiles folder (with its parents) when missing and lists its profiles.
    explicit TForm2(QWidget* parent = nullptr);

    QLabel* LabelUeberschrift;
    QLabel* LabelAvailable;
    QListWidget* ListBoxAvailable;
    QPushButton* ButtonAdd;
    QLabel* LabelSequence;
    QListWidget* ListBoxSequence;
    QPushButton* ButtonMoveUp;
    QPushButton* ButtonMoveDown;
    QPushButton* ButtonRemove;
    QLabel* LabelDuration;
    QSpinBox* SpinEditDuration;
    QPushButton* ButtonSave;

    // The planned order from top to bottom.
    QStringList SequenceEntries() const;

    void ButtonAddClick();
    void ButtonRemoveClick();
    void ButtonMoveUpClick();
    void ButtonMoveDownClick();
    // Asks for the file and writes the sequence; a refused write is shown as an error and the
    // success message is not.
    void ButtonSaveClick();

private:
    void CreateControls();
    void FillAvailable();
    void SwapWithRow(int row, int other);

    QString FProfilePath; // data folder + "Profile", without a trailing separator
};

} // namespace kalvero
