#include "searchtest/search_test_window.h"

#include "platform/clock.h"
#include "platform/program_folder.h"
#include "platform/random.h"
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cairo.h>

namespace kalvero {

namespace {

const QColor WindowColour(40, 40, 44);
const QColor PanelColour(246, 246, 246);
const QColor PanelTextColour(30, 30, 60);
constexpr unsigned PanelRgb = 0xF6F6F6;

const char* const MissingPicturesText =
    "Die Bilder für die Suchaufgabe fehlen (Ordner Grafik\\Alphabet). Die Suchaufgabe entfällt.";

void PaintPicture(QWidget* widget, const TRasterImage& picture) {
    QPainter painter(widget);
    if (!picture)
        return;
    cairo_surface_flush(picture.Surface());
    const QImage image(cairo_image_surface_get_data(picture.Surface()), picture.Width(),
                       picture.Height(), cairo_image_surface_get_stride(picture.Surface()),
                       QImage::Format_ARGB32_Premultiplied);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, image);
}

} // namespace

// The surface that fills the window and shows the board.
class TSearchBoardView final : public QWidget {
public:
    explicit TSearchBoardView(TFormSearchTest* form) : QWidget(form), FForm(form) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override { PaintPicture(this, FForm->ComposeFrame()); }
    void mousePressEvent(QMouseEvent* event) override {
        FForm->BoardMouseDown(event->button(), event->position().x(), event->position().y());
    }

private:
    TFormSearchTest* FForm;
};

// The target letter's picture on the instruction panel.
class TSearchTargetView final : public QWidget {
public:
    TSearchTargetView(QWidget* parent, TFormSearchTest* form) : QWidget(parent), FForm(form) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const TRasterImage& letter = FForm->FPictures.Letters[FForm->FTarget];
        PaintPicture(this, RenderCentredSquare(letter, width(), height(), PanelRgb));
    }

private:
    TFormSearchTest* FForm;
};

bool TFormSearchTest::Execute(QWidget* AOwner, bool APre, int ATarget, TSearchTestRec& AResult) {
    static const TStopwatch watch;
    return Execute(AOwner, APre, ATarget, AResult, ProcessRandom(), watch);
}

bool TFormSearchTest::Execute(QWidget* AOwner, bool APre, int ATarget, TSearchTestRec& AResult,
                              TRandomSource& random, const TClock& clock) {
    AResult = TSearchTestRec{};
    TSearchPictures pictures;
    if (!LoadSearchPictures(PictureFolder(), pictures)) {
        ShowMessage(AOwner, TMsgKind::Warning, QStringLiteral("Kalvero 4"),
                    QString::fromUtf8(MissingPicturesText));
        return false;
    }
    TFormSearchTest form(AOwner, APre, ATarget, std::move(pictures), random, clock);
    if (form.exec() != QDialog::Accepted)
        return false;
    AResult = form.FResult;
    return true;
}

TFormSearchTest::TFormSearchTest(QWidget* owner, bool pre, int target, TSearchPictures pictures,
                                 TRandomSource& random, const TClock& clock)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint), FPre(pre),
      FTarget(ClampSearchLetter(target)), FPictures(std::move(pictures)), FWatch(clock) {
    setWindowTitle(QStringLiteral("Kalvero 4 - Suchaufgabe"));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WindowColour);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(QFont(QStringLiteral("Segoe UI")));

    QScreen* screen = OwnerScreen(owner);
    FPx = SearchPixelScale(screen ? screen->logicalDotsPerInch() : 0);
    if (screen)
        setGeometry(screen->geometry());

    BuildControls();
    FTimer = new QTimer(this);
    FTimer->setInterval(250);
    connect(FTimer, &QTimer::timeout, this, &TFormSearchTest::TimerTick);
    LayoutControls();
    GenerateBoard(random);

    // Sees every key before the control that has the focus does.
    qApp->installEventFilter(this);
}

TFormSearchTest::~TFormSearchTest() {
    qApp->removeEventFilter(this);
}

QScreen* TFormSearchTest::OwnerScreen(QWidget* owner) {
    QScreen* screen = owner ? owner->window()->screen() : nullptr;
    return screen ? screen : QGuiApplication::primaryScreen();
}

QLabel* TFormSearchTest::MakeLabel(QWidget* parent, int pixelHeight, bool bold, bool wrap) {
    auto* label = new QLabel(parent);
    QFont font = this->font();
    font.setPixelSize(ScaledPixels(pixelHeight, FPx));
    font.setBold(bold);
    label->setFont(font);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, PanelTextColour);
    label->setPalette(pal);
    label->setWordWrap(wrap);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* TFormSearchTest::MakeButton(QWidget* parent, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    QFont font = this->font();
    font.setPixelSize(ScaledPixels(20, FPx));
    button->setFont(font);
    button->setAutoDefault(false);
    button->resize(ScaledPixels(200, FPx), ScaledPixels(50, FPx));
    return button;
}

void TFormSearchTest::BuildControls() {
    FBoard = new TSearchBoardView(this);

    FIntro = new QWidget(this);
    FIntro->setObjectName(QStringLiteral("FIntro"));
    QPalette pal = FIntro->palette();
    pal.setColor(QPalette::Window, PanelColour);
    FIntro->setPalette(pal);
    FIntro->setAutoFillBackground(true);

    FIntroTitle = MakeLabel(FIntro, 26, true, false);
    FIntroTitle->setText(
        FPre ? QStringLiteral("Vor dem Training: eine kurze Suchaufgabe")
             : QStringLiteral("Nach dem Training: dieselbe Suchaufgabe noch einmal"));
    FIntroText = MakeLabel(FIntro, 20, false, true);
    FIntroText->setText(
        FPre ? QStringLiteral("Gleich sehen Sie viele rote Knöpfe mit Buchstaben. Klicken Sie "
                              "jeden Knopf mit diesem Buchstaben an:")
             : QStringLiteral("Gesucht ist wieder derselbe Buchstabe - die Knöpfe liegen aber "
                              "anders. Klicken Sie jeden Knopf mit diesem Buchstaben an:"));
    FIntroTarget = new TSearchTargetView(FIntro, this);
    FIntroText2 = MakeLabel(FIntro, 20, false, true);
    FIntroText2->setText(QStringLiteral(
        "Suchen Sie den ganzen Bildschirm ab - auch ganz links und ganz rechts. Ein angeklickter "
        "Knopf wird durchgestrichen, ein zweiter Klick nimmt das zurück. Wenn Sie fertig sind, "
        "klicken Sie unten in der Mitte auf \"Fertig\"."));

    FBtnStart = MakeButton(FIntro, QStringLiteral("Los geht's"));
    FBtnStart->setDefault(true);
    FBtnSkip = MakeButton(FIntro, QStringLiteral("Überspringen"));
    FBtnDone = MakeButton(this, QStringLiteral("Fertig"));
    FBtnDone->setFocusPolicy(Qt::NoFocus);
    FBtnDone->hide();

    connect(FBtnStart, &QPushButton::clicked, this, &TFormSearchTest::btnStartClick);
    connect(FBtnSkip, &QPushButton::clicked, this, &TFormSearchTest::btnSkipClick);
    connect(FBtnDone, &QPushButton::clicked, this, &TFormSearchTest::btnDoneClick);
    FBtnStart->setFocus();
}

void TFormSearchTest::LayoutControls() {
    const auto s = [this](double v) { return ScaledPixels(v, FPx); };
    const int w = width();
    const int h = height();
    FBoard->setGeometry(0, 0, w, h);
    FBoard->lower();

    // Never wider than the window, so that no instruction is cut off on a narrow monitor.
    const int panelW = std::min(s(900), w);
    const int m = s(20);
    const int inner = panelW - 2 * m;
    const int titleH = FIntroTitle->sizeHint().height();
    FIntroTitle->setGeometry(m, 0, inner, titleH);
    int y = s(24) + titleH;
    FIntroText->setGeometry(m, y, inner, s(64));
    y += s(8) + FIntroText->height();
    const int side = s(150);
    FIntroTarget->setGeometry((panelW - side) / 2, y, side, side);
    y += side + s(12);
    FIntroText2->setGeometry(m, y, inner, s(100));
    y += s(24) + FIntroText2->height();
    const int buttonW = FBtnStart->width();
    FBtnStart->move(panelW / 2 - s(12) - buttonW, y);
    FBtnSkip->move(panelW / 2 + s(12), y);
    const int panelH = y + FBtnStart->height() + m;
    FIntro->setGeometry((w - panelW) / 2, std::max(0, (h - panelH) / 2), panelW, panelH);

    const int band = s(80);
    FBtnDone->move((w - FBtnDone->width()) / 2, h - band + (band - FBtnDone->height()) / 2);
}

void TFormSearchTest::GenerateBoard(TRandomSource& random) {
    FItems = kalvero::GenerateBoard(FTarget, random);
}

TSearchGeometry TFormSearchTest::Geometry() const {
    return SearchGeometry(FBoard->width(), FBoard->height(), FPx);
}

std::int64_t TFormSearchTest::ElapsedMs() const {
    return FWatch.NowMs() - FWatchStartMs;
}

void TFormSearchTest::EnsureStatic(int width, int height) {
    if (FStatic && FStaticW == width && FStaticH == height && FStaticRun == FRunning)
        return;
    // The scaled background is kept per size: starting the task only adds header and buttons.
    if (!FBackdrop || FBackdrop.Width() != width || FBackdrop.Height() != height)
        FBackdrop = RenderSearchBackdrop(width, height, &FPictures);
    const TSearchScene scene{width, height, FPx, FRunning, FTarget, &FItems, &FPictures};
    FStatic = RenderSearchStatic(scene, FBackdrop);
    FStaticW = width;
    FStaticH = height;
    FStaticRun = FRunning;
}

const TRasterImage& TFormSearchTest::ComposeFrame() {
    EnsureStatic(FBoard->width(), FBoard->height());
    ComposeSearchFrame(FStatic, FItems, Geometry(), FFrame);
    return FFrame;
}

TRasterImage TFormSearchTest::RenderFrame() {
    return CopyImage(ComposeFrame());
}

void TFormSearchTest::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    LayoutControls();
}

void TFormSearchTest::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Without a window manager nobody else activates the window or keeps it on the monitor.
    if (QScreen* screen = OwnerScreen(parentWidget()); screen && geometry() != screen->geometry())
        setGeometry(screen->geometry());
    activateWindow();
}

bool TFormSearchTest::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this) {
        Cancel();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormSearchTest::reject() {
    Cancel();
}

void TFormSearchTest::btnStartClick() {
    FIntro->hide();
    FBtnDone->show();
    FBtnDone->raise();
    LayoutControls();
    if (QWidget* focused = focusWidget())
        focused->clearFocus();
    setFocus(Qt::OtherFocusReason);

    FStart = QDateTime::currentDateTime();
    FAllFoundMs = -1;
    FWatchStartMs = FWatch.NowMs();
    FRunning = true;
    FTimer->start();
    FBoard->update();
}

void TFormSearchTest::btnSkipClick() {
    Cancel();
}

void TFormSearchTest::btnDoneClick() {
    if (FRunning)
        Finish(QStringLiteral("Fertig"));
}

void TFormSearchTest::TimerTick() {
    if (FRunning && ElapsedMs() >= SearchTimeLimitMs)
        Finish(QStringLiteral("Zeit um"));
}

void TFormSearchTest::BoardMouseDown(Qt::MouseButton button, double x, double y) {
    if (!FRunning || button != Qt::LeftButton || FBoard->width() <= 0 || FBoard->height() <= 0)
        return;
    const int index = FindClickedItem(FItems, Geometry(), x, y);
    if (index < 0)
        return;
    FAllFoundMs = ToggleMark(FItems, index, ElapsedMs(), FAllFoundMs);
    FBoard->update();
}

void TFormSearchTest::Finish(const QString& reason) {
    const std::int64_t elapsed = ElapsedMs();
    FRunning = false;
    FTimer->stop();
    FResult = SearchResult(FItems, {FStart, FPre, FTarget, elapsed, FAllFoundMs, reason});
    done(QDialog::Accepted);
}

void TFormSearchTest::Cancel() {
    FRunning = false;
    FTimer->stop();
    done(QDialog::Rejected);
}

} // namespace kalvero
