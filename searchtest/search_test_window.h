#pragma once

#include "protocol/records.h"
#include "searchtest/search_board.h"
#include "searchtest/search_board_painter.h"

#include <QDateTime>
#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;
class QTimer;
class QScreen;

namespace kalvero {

class TClock;
class TRandomSource;

// The letter-cancellation task: a borderless window over the owner's whole monitor with an
// instruction panel, then a board of 60 letter buttons, 16 of them with the target letter,
// which the trainee strikes through by clicking. Ends with "Fertig" or after 120 seconds.
class TFormSearchTest final : public QDialog {
    Q_OBJECT
public:
    // Runs the task modally. True when it was completed ("Fertig" or the time limit) and
    // AResult holds the result; false when the pictures are missing or the trainee skipped
    // or cancelled, AResult then cleared.
    static bool Execute(QWidget* AOwner, bool APre, int ATarget, TSearchTestRec& AResult);
    // The same with the board's random source and the task's clock given by the caller.
    static bool Execute(QWidget* AOwner, bool APre, int ATarget, TSearchTestRec& AResult,
                        TRandomSource& random, const TClock& clock);

    ~TFormSearchTest() override;

    // What the window shows, for its owner's tests and for rendering.
    const TSearchItems& Items() const { return FItems; }
    TSearchGeometry Geometry() const;
    bool IsRunning() const { return FRunning; }
    double Px() const { return FPx; }
    std::int64_t AllFoundMs() const { return FAllFoundMs; }
    QWidget* BoardView() const { return FBoard; }
    // The board as the next repaint draws it: cached picture plus marks.
    TRasterImage RenderFrame();

    // Closes the window with Cancel, as Esc does.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    friend class TSearchBoardView;
    friend class TSearchTargetView;

    TFormSearchTest(QWidget* owner, bool pre, int target, TSearchPictures pictures,
                    TRandomSource& random, const TClock& clock);
    static QScreen* OwnerScreen(QWidget* owner);
    void BuildControls();
    QLabel* MakeLabel(QWidget* parent, int pixelHeight, bool bold, bool wrap);
    QPushButton* MakeButton(QWidget* parent, const QString& caption);
    void LayoutControls();
    void GenerateBoard(TRandomSource& random);
    std::int64_t ElapsedMs() const;
    void EnsureStatic(int width, int height);
    const TRasterImage& ComposeFrame();

    void btnStartClick();
    void btnSkipClick();
    void btnDoneClick();
    void TimerTick();
    void BoardMouseDown(Qt::MouseButton button, double x, double y);
    void Finish(const QString& reason);
    void Cancel();

    bool FPre = true;
    int FTarget = 0;
    TSearchItems FItems;
    TSearchPictures FPictures; // FImages and FBackground
    TRasterImage FBackdrop;    // plain colour and background picture, for FStatic's size
    TRasterImage FStatic;
    int FStaticW = 0;
    int FStaticH = 0;
    bool FStaticRun = false;
    TRasterImage FFrame; // the cached picture with the marks, shown by the board
    double FPx = 1;

    QWidget* FIntro = nullptr;
    QLabel* FIntroTitle = nullptr;
    QLabel* FIntroText = nullptr;
    QWidget* FIntroTarget = nullptr;
    QLabel* FIntroText2 = nullptr;
    QPushButton* FBtnStart = nullptr;
    QPushButton* FBtnSkip = nullptr;
    QPushButton* FBtnDone = nullptr;
    QWidget* FBoard = nullptr;
    QTimer* FTimer = nullptr;

    const TClock& FWatch;
    std::int64_t FWatchStartMs = 0;
    QDateTime FStart;
    bool FRunning = false;
    std::int64_t FAllFoundMs = -1;
    TSearchTestRec FResult;
};

} // namespace kalvero
