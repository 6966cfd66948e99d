#include "history/form_history.h"

#include "history/history_charts.h"
#include "history/history_data.h"
#include "history/history_fonts.h"
#include "history/history_print.h"
#include "history/history_widgets.h"
#include "platform/ui/dialogs.h"
#include "protocol/exchange.h"
#include "protocol/store.h"
#include "users/user_manager.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

namespace kalvero {

namespace {

const QString MessageTitle = QStringLiteral("Kalvero 4");
const QString ProtocolFilter = QStringLiteral("Kalvero-Protokoll (*.kvprot)|*.kvprot");
const QString ProtocolExtension = QStringLiteral("kvprot");

void SetBackground(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::Base, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void Inform(QWidget* parent, const QString& text) {
    ShowMessage(parent, TMsgKind::Information, MessageTitle, text);
}

void Fail(QWidget* parent, const QString& text) {
    ShowMessage(parent, TMsgKind::Error, MessageTitle, text);
}

bool SameUser(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The save dialog's default extension: a name typed without one gets ".kvprot".
QString WithProtocolExtension(const QString& file) {
    return QFileInfo(file).suffix().isEmpty() ? file + QLatin1Char('.') + ProtocolExtension : file;
}

} // namespace

void TFormHistory::Execute(QWidget* AOwner, const QString& AUser, bool ATherapistMode) {
    TFormHistory form(AOwner, AUser, ATherapistMode);
    form.LoadHistory();
    if (QScreen* screen = AOwner ? AOwner->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = form.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form.move(frame.topLeft());
    }
    form.exec();
}

TFormHistory::TFormHistory(QWidget* AOwner, const QString& AUser, bool ATherapistMode)
    : QDialog(AOwner), FUser(AUser) {
    setWindowTitle(QStringLiteral("Kalvero 4 - Verlauf"));
    setFont(HistoryFont(QStringLiteral("Segoe UI"), 13));
    SetBackground(this, Qt::white);
    resize(1160, 720);
    setMinimumSize(900, 500);
    CreateControls();
    setWindowTitle(HistoryTitle(AUser));
    ButtonImport->setVisible(ATherapistMode);
}

void TFormHistory::CreateControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    layout->addLayout(top, 1);
    CreateChartPanel();
    CreateListPanel();
    top->addWidget(PanelCharts, 1);
    top->addWidget(PanelList);
    CreateBottomPanel();
    layout->addWidget(PanelBottom);
}

QPushButton* TFormHistory::AddButton(const QString& name, const QString& caption,
                                     const QString& hint) {
    auto* button = new QPushButton(caption, PanelBottom);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    PanelBottom->layout()->addWidget(button);
    return button;
}

void TFormHistory::CreateBottomPanel() {
    PanelBottom = new QWidget(this);
    PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
    PanelBottom->setFixedHeight(44);
    SetBackground(PanelBottom, QColor(240, 240, 240));
    auto* row = new QHBoxLayout(PanelBottom);
    row->setContentsMargins(8, 0, 8, 0);
    row->setSpacing(8);

    LabelInfo = new TEllipsisLabel(PanelBottom);
    LabelInfo->setObjectName(QStringLiteral("LabelInfo"));
    LabelInfo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    row->addWidget(LabelInfo, 1);

    ButtonImport = AddButton(QStringLiteral("ButtonImport"), QStringLiteral("Einlesen ..."),
                             QStringLiteral("Exportiertes Protokoll eines Patienten übernehmen"));
    ButtonExport = AddButton(
        QStringLiteral("ButtonExport"), QStringLiteral("Exportieren ..."),
        QStringLiteral("Protokoll als Datei für die Therapeutin / den Therapeuten speichern"));
    ButtonProtocol = AddButton(QStringLiteral("ButtonProtocol"), QStringLiteral("Protokoll öffnen"),
                               QStringLiteral("CSV-Datei (z. B. in Excel) öffnen"));
    ButtonPrint = AddButton(QStringLiteral("ButtonPrint"), QStringLiteral("Drucken ..."), {});
    ButtonClose = AddButton(QStringLiteral("ButtonClose"), QStringLiteral("Schließen"), {});
    ButtonClose->setDefault(true);

    connect(ButtonImport, &QPushButton::clicked, this, [this] { ButtonImportClick(); });
    connect(ButtonExport, &QPushButton::clicked, this, [this] { ButtonExportClick(); });
    connect(ButtonProtocol, &QPushButton::clicked, this, [this] { ButtonProtocolClick(); });
    connect(ButtonPrint, &QPushButton::clicked, this, [this] { ButtonPrintClick(); });
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
}

void TFormHistory::CreateListPanel() {
    PanelList = new QWidget(this);
    PanelList->setObjectName(QStringLiteral("PanelList"));
    PanelList->setFixedWidth(400);
    SetBackground(PanelList, Qt::white);
    auto* column = new QVBoxLayout(PanelList);
    column->setContentsMargins(8, 8, 8, 8);
    column->setSpacing(8);

    LabelList = new QLabel(QStringLiteral("Durchgänge (neueste oben)"), PanelList);
    LabelList->setObjectName(QStringLiteral("LabelList"));
    LabelList->setFont(HistoryFont(QStringLiteral("Segoe UI"), 15, true));
    QPalette palette = LabelList->palette();
    palette.setColor(QPalette::WindowText, QColor(40, 40, 40));
    LabelList->setPalette(palette);
    column->addWidget(LabelList);

    MemoList = new QPlainTextEdit(PanelList);
    MemoList->setObjectName(QStringLiteral("MemoList"));
    MemoList->setReadOnly(true);
    MemoList->setFrameShape(QFrame::NoFrame);
    MemoList->setFont(ListFont(12));
    MemoList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoList->setLineWrapMode(QPlainTextEdit::NoWrap);
    column->addWidget(MemoList, 1);
}

void TFormHistory::CreateChartPanel() {
    PanelCharts = new QWidget(this);
    PanelCharts->setObjectName(QStringLiteral("PanelCharts"));
    SetBackground(PanelCharts, Qt::white);
    PanelCharts->installEventFilter(this);
    auto makeBox = [this](const QString& name,
                          void (TFormHistory::*paint)(QPainter&, const QRect&)) {
        auto* box = new TPaintBox(PanelCharts);
        box->setObjectName(name);
        box->OnPaint = [this, paint](QPainter& canvas, const QRect& rect) {
            (this->*paint)(canvas, rect);
        };
        return box;
    };
    PaintBoxDays = makeBox(QStringLiteral("PaintBoxDays"), &TFormHistory::PaintBoxDaysPaint);
    PaintBoxHits = makeBox(QStringLiteral("PaintBoxHits"), &TFormHistory::PaintBoxHitsPaint);
    PaintBoxRt = makeBox(QStringLiteral("PaintBoxRt"), &TFormHistory::PaintBoxRtPaint);
}

bool TFormHistory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PanelCharts && event->type() == QEvent::Resize)
        FormResize();
    return QDialog::eventFilter(watched, event);
}

void TFormHistory::LoadHistory() {
    const THistory history = kalvero::LoadHistory(FUser);
    FSessions = history.Sessions;
    FPairs = history.Pairs;
    FAlert = history.Alert;
    LabelInfo->setText(history.Info);
    LabelInfo->setToolTip(LabelInfo->text());
    FillList();
    FormResize();
}

void TFormHistory::FillList() {
    MemoList->setUpdatesEnabled(false);
    MemoList->clear();
    const QStringList lines = kalvero::FillList(FSessions, FPairs);
    if (!lines.isEmpty())
        MemoList->setPlainText(lines.join(QLatin1Char('\n')));
    MemoList->setUpdatesEnabled(true);
    MemoList->moveCursor(QTextCursor::Start);
}

QStringList TFormHistory::ListLines() const {
    const QString text = MemoList->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

void TFormHistory::FormResize() {
    const QRect area = PanelCharts->contentsRect();
    const int third = area.height() / 3;
    PaintBoxDays->setGeometry(area.left(), area.top(), area.width(), third);
    PaintBoxHits->setGeometry(area.left(), area.top() + third, area.width(), third);
    PaintBoxRt->setGeometry(area.left(), area.top() + 2 * third, area.width(),
                            area.height() - 2 * third);
    PaintBoxDays->update();
    PaintBoxHits->update();
    PaintBoxRt->update();
}

double TFormHistory::PixelScale() const {
    const double dpi = logicalDpiY();
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

void TFormHistory::PaintBoxDaysPaint(QPainter& canvas, const QRect& rect) {
    DrawDays(canvas, rect, FSessions, PixelScale());
}

void TFormHistory::PaintBoxHitsPaint(QPainter& canvas, const QRect& rect) {
    DrawHits(canvas, rect, FAlert, PixelScale());
}

void TFormHistory::PaintBoxRtPaint(QPainter& canvas, const QRect& rect) {
    DrawRt(canvas, rect, FAlert, PixelScale());
}

void TFormHistory::ButtonProtocolClick() {
    const QString file = RunFileName(FUser);
    if (!QFileInfo::exists(file)) {
        Inform(this, QStringLiteral("Für ") + FUser +
                         QStringLiteral(" ist noch kein Durchgang protokolliert."));
        return;
    }
    // When no program takes the file, nothing is shown.
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

QString TFormHistory::ExportFileProposal() const {
    return QStringLiteral("Kalvero-Protokoll %1 %2.kvprot")
        .arg(UserFileName(FUser), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
}

void TFormHistory::ButtonExportClick() {
    if (FSessions.empty()) {
        Inform(this, QStringLiteral("Es gibt noch nichts zu exportieren."));
        return;
    }
    const QString chosen = ChooseSaveFile(this, QStringLiteral("Protokoll exportieren"), QString(),
                                          ProtocolFilter, ExportFileProposal());
    if (chosen.isEmpty())
        return;
    const QString file = WithProtocolExtension(chosen);
    if (ExportProtocol(FUser, file))
        Inform(this, QStringLiteral("Das Protokoll ist gespeichert:\r\n") + file +
                         QStringLiteral("\r\n\r\nGeben Sie diese Datei Ihrer Therapeutin oder "
                                        "Ihrem Therapeuten, z. B. auf einem USB-Stick oder per "
                                        "E-Mail."));
    else
        Fail(this, QStringLiteral("Das Protokoll konnte nicht gespeichert werden."));
}

void TFormHistory::ButtonImportClick() {
    const QString file =
        ChooseOpenFile(this, QStringLiteral("Protokoll eines Patienten einlesen"), QString(),
                       ProtocolFilter + QStringLiteral("|Alle Dateien|*.*"));
    if (file.isEmpty())
        return;
    const QString fileUser = ExchangeFileUser(file);
    if (fileUser.isEmpty()) {
        Fail(this, QStringLiteral("Diese Datei ist kein exportiertes Protokoll von Kalvero 4."));
        return;
    }
    QString target = FUser;
    if (!SameUser(fileUser, FUser)) {
        const auto answer = ShowMessage(
            this, TMsgKind::Question, MessageTitle,
            QStringLiteral("Das Protokoll stammt von \"%1\".\r\n\r\nJa: dem Nutzer \"%2\" "
                           "hinzufügen\r\nNein: unter \"%3\" ablegen (wird bei Bedarf angelegt)")
                .arg(fileUser, FUser, fileUser),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::No)
            target = fileUser;
        else if (answer != QMessageBox::Yes)
            return;
    }
    int newRuns = 0;
    if (!ImportProtocol(file, target, newRuns)) {
        Fail(this, QStringLiteral("Das Protokoll konnte nicht übernommen werden. Ist die "
                                  "Protokolldatei gerade in Excel geöffnet?"));
        return;
    }
    try {
        RegisterImportTarget(target, FUser);
    } catch (const std::exception& error) {
        Fail(this, QString::fromUtf8(error.what()));
        return;
    }
    Inform(this,
           QStringLiteral("%1 neue Durchgänge für \"%2\" übernommen.").arg(newRuns).arg(target));
    if (SameUser(target, FUser))
        LoadHistory();
}

void TFormHistory::ButtonPrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    if (!RunPrintDialog(printer, this))
        return;
    printer.setDocName(windowTitle());
    try {
        PrintHistory(printer, {FUser, LabelInfo->text(), FSessions, FAlert, ListLines()});
    } catch (const std::exception& error) {
        Fail(this, QString::fromUtf8(error.what()));
    }
}

} // namespace kalvero
