#pragma once

#include "protocol/records.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace kalvero {

class TEllipsisLabel;
class TPaintBox;

// The history window: one user's summary line, three charts and the list of runs and search
// tests; opens the run file, exports the protocol, prints, and in therapist mode reads in a
// patient's exported protocol.
class TFormHistory : public QDialog {
public:
    // Shows the history of AUser modally; "Einlesen ..." only in therapist mode.
    static void Execute(QWidget* AOwner, const QString& AUser, bool ATherapistMode);

    TFormHistory(QWidget* AOwner, const QString& AUser, bool ATherapistMode);

    // (Re)loads the protocol files and refreshes the window.
    void LoadHistory();
    void FillList();

    void FormResize();
    void ButtonProtocolClick();
    void ButtonExportClick();
    void ButtonImportClick();
    void ButtonPrintClick();

    const QString& User() const { return FUser; }
    const TSessionArray& Sessions() const { return FSessions; }
    const TSessionArray& Alert() const { return FAlert; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString FUser;
    TSessionArray FSessions;
    TSessionArray FAlert;
    TSearchPairArray FPairs;

    QWidget* PanelBottom = nullptr;
    TEllipsisLabel* LabelInfo = nullptr;
    QPushButton* ButtonImport = nullptr;
    QPushButton* ButtonExport = nullptr;
    QPushButton* ButtonProtocol = nullptr;
    QPushButton* ButtonPrint = nullptr;
    QPushButton* ButtonClose = nullptr;
    QWidget* PanelList = nullptr;
    QLabel* LabelList = nullptr;
    QPlainTextEdit* MemoList = nullptr;
    QWidget* PanelCharts = nullptr;
    TPaintBox* PaintBoxDays = nullptr;
    TPaintBox* PaintBoxHits = nullptr;
    TPaintBox* PaintBoxRt = nullptr;

    void CreateControls();
    void CreateBottomPanel();
    void CreateListPanel();
    void CreateChartPanel();
    QPushButton* AddButton(const QString& name, const QString& caption, const QString& hint);
    double PixelScale() const;
    void PaintBoxDaysPaint(QPainter& canvas, const QRect& rect);
    void PaintBoxHitsPaint(QPainter& canvas, const QRect& rect);
    void PaintBoxRtPaint(QPainter& canvas, const QRect& rect);
    QString ExportFileProposal() const;
    QStringList ListLines() const;
};

} // namespace kalvero
