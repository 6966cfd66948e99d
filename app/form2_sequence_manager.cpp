#include "app/form2_sequence_manager.h"

#include "app/profile_actions.h"
#include "engine/sequence_file.h"
#include "platform/ui/dialogs.h"
#include "users/data_folder.h"

#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace kalvero {

namespace {

const QString Title = QStringLiteral("Kalvero 4");
constexpr int DurationMin = 1, DurationMax = 999, DurationDefault = 60;

template <typename TWidget> TWidget* Named(TWidget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    return button;
}

QListWidget* MakeList(QWidget* parent, const char* name) {
    auto* list = Named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumSize(220, 260);
    return list;
}

} // namespace

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Kalvero 4 - Sequenzmanager"));
    FProfilePath = GetDataFolder() + QStringLiteral("Profile");
    QDir().mkpath(FProfilePath);
    CreateControls();
    FillAvailable();
}

void TForm2::CreateControls() {
    LabelUeberschrift =
        Named(new QLabel(QStringLiteral("Sequenzmanager"), this), "LabelUeberschrift");
    QFont heading = LabelUeberschrift->font();
    heading.setPointSize(18);
    heading.setBold(true);
    LabelUeberschrift->setFont(heading);

    LabelAvailable =
        Named(new QLabel(QStringLiteral("Vorhandene  Profile"), this), "LabelAvailable");
    ListBoxAvailable = MakeList(this, "ListBoxAvailable");
    ButtonAdd = MakeButton(this, "ButtonAdd", QStringLiteral("Zur Sequenz hinzufügen"));
    LabelSequence =
        Named(new QLabel(QStringLiteral("Geplante Reihenfolge"), this), "LabelSequence");
    ListBoxSequence = MakeList(this, "ListBoxSequence");
    ButtonMoveUp = MakeButton(this, "ButtonMoveUp", QStringLiteral("Profil hoch"));
    ButtonMoveDown = MakeButton(this, "ButtonMoveDown", QStringLiteral("Profil runter"));
    ButtonRemove = MakeButton(this, "ButtonRemove", QStringLiteral("Profil entfernen"));
    LabelDuration = Named(new QLabel(QStringLiteral("Zeit zwischen\nProfilen (in Sek.)"), this),
                          "LabelDuration");
    SpinEditDuration = Named(new QSpinBox(this), "SpinEditDuration");
    SpinEditDuration->setRange(DurationMin, DurationMax);
    SpinEditDuration->setValue(DurationDefault);
    ButtonSave = MakeButton(this, "ButtonSave", QStringLiteral("Sequenz speichern"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ButtonMoveUp);
    buttons->addWidget(ButtonMoveDown);
    buttons->addWidget(ButtonRemove);
    buttons->addSpacing(16);
    buttons->addWidget(LabelDuration);
    buttons->addWidget(SpinEditDuration);
    buttons->addStretch();
    buttons->addWidget(ButtonSave);

    auto* grid = new QGridLayout(this);
    grid->addWidget(LabelUeberschrift, 0, 0, 1, 3);
    grid->addWidget(LabelAvailable, 1, 0);
    grid->addWidget(LabelSequence, 1, 1);
    grid->addWidget(ListBoxAvailable, 2, 0);
    grid->addWidget(ListBoxSequence, 2, 1);
    grid->addLayout(buttons, 2, 2);
    grid->addWidget(ButtonAdd, 3, 0);

    connect(ButtonAdd, &QPushButton::clicked, this, &TForm2::ButtonAddClick);
    connect(ButtonRemove, &QPushButton::clicked, this, &TForm2::ButtonRemoveClick);
    connect(ButtonMoveUp, &QPushButton::clicked, this, &TForm2::ButtonMoveUpClick);
    connect(ButtonMoveDown, &QPushButton::clicked, this, &TForm2::ButtonMoveDownClick);
    connect(ButtonSave, &QPushButton::clicked, this, &TForm2::ButtonSaveClick);
}

void TForm2::FillAvailable() {
    ListBoxAvailable->clear();
    // In the order of the folder listing, not sorted.
    const QStringList names =
        QDir(FProfilePath)
            .entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Hidden, QDir::Unsorted);
    ListBoxAvailable->addItems(names);
    if (ListBoxAvailable->count() > 0)
        ListBoxAvailable->setCurrentRow(0);
}

QStringList TForm2::SequenceEntries() const {
    QStringList entries;
    for (int row = 0; row < ListBoxSequence->count(); ++row)
        entries << ListBoxSequence->item(row)->text();
    return entries;
}

void TForm2::ButtonAddClick() {
    const QListWidgetItem* item = ListBoxAvailable->currentItem();
    if (item == nullptr)
        return;
    ListBoxSequence->addItem(item->text());
}

void TForm2::ButtonRemoveClick() {
    const int row = ListBoxSequence->currentRow();
    if (row < 0)
        return;
    delete ListBoxSequence->takeItem(row);
    // The entry that moved into the place, or the new last one.
    ListBoxSequence->setCurrentRow(std::min(row, ListBoxSequence->count() - 1));
}

void TForm2::SwapWithRow(int row, int other) {
    QListWidgetItem* item = ListBoxSequence->takeItem(row);
    ListBoxSequence->insertItem(other, item);
    ListBoxSequence->setCurrentRow(other);
}

void TForm2::ButtonMoveUpClick() {
    const int row = ListBoxSequence->currentRow();
    if (row > 0)
        SwapWithRow(row, row - 1);
}

void TForm2::ButtonMoveDownClick() {
    const int row = ListBoxSequence->currentRow();
    if (row >= 0 && row < ListBoxSequence->count() - 1)
        SwapWithRow(row, row + 1);
}

void TForm2::ButtonSaveClick() {
    if (ListBoxSequence->count() == 0) {
        ShowMessage(this, TMsgKind::Information, Title,
                    QStringLiteral("Bitte fügen Sie mindestens ein Profil zur Sequenz hinzu."));
        return;
    }
    const QString chosen =
        ChooseSaveFile(this, QStringLiteral("Sequenz speichern"), GetDataFolder() + "Profile",
                       QString::fromUtf8(SequenceSaveFilter), QString());
    if (chosen.isEmpty())
        return;
    // Qt's event dispatch cannot carry exceptions: a refused write is shown here instead of the
    // success message.
    try {
        SaveSequenceFile(WithDefaultExtension(chosen, QStringLiteral("seq")), SequenceEntries(),
                         SpinEditDuration->value());
    } catch (const std::exception& error) {
        ShowMessage(this, TMsgKind::Error, Title, QString::fromUtf8(error.what()));
        return;
    }
    ShowMessage(this, TMsgKind::Information, Title,
                QStringLiteral("Sequenz erfolgreich gespeichert!"));
}

} // namespace kalvero
