// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/TOwnDlg.h"

#include "dialogs/OverMainPlacement.h"
#include "engine/Geometry.h"
#include "engine/ProgressByte.h"
#include "platform/canvas/Canvas.h"
#include "platform/services/FileNames.h"
#include "state/ProgramState.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <thread>

namespace zq {

namespace {
QString T(bool german, const char* de, const char* en) { return QString::fromUtf8(german ? de : en); }
} // namespace

QImage TOwnDlg::Thumbnail(const PuzzleRecord& r)
{
    QImage image(BoardWidth, BoardHeight, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int j = 1; j <= PieceCount; ++j) {
        const auto o = static_cast<std::size_t>(r[j].o.value());
        QPolygon triangle;
        for (std::size_t k = 0; k < 3; ++k)
            triangle << QPoint(r[j].x + VertexX[k][o], r[j].y + VertexY[k][o]);
        p.drawPolygon(triangle);
    }
    return image;
}

TOwnDlg::TOwnDlg(ProgramState& state, QWidget* parent) : QDialog(parent), state_(state)
{
    setObjectName(QStringLiteral("OwnDlg"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto* layout = new QHBoxLayout(this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("OwnList"));
    list_->setIconSize(QSize(BoardWidth, BoardHeight));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setMinimumSize(300, 330);
    layout->addWidget(list_, 1);
    auto* column = new QVBoxLayout;
    layout->addLayout(column);
    for (const char* name : {"PlayBtn", "MakeBtn", "EditBtn", "RenameBtn", "DeleteBtn", "UpBtn", "DownBtn", "ExportBtn",
                             "ImportBtn"})
        column->addWidget(AddButton(name));
    column->addStretch();
    column->addWidget(AddButton("CloseBtn"));

    connect(list_, &QListWidget::currentRowChanged, this, [this] {
        if (Row() > 0)
            chosen_ = Row();
        UpdateButtons();
    });
    connect(list_, &QListWidget::itemActivated, this, [this] {
        chosen_ = Row();
        if (chosen_ > 0)
            done(PlayResult);
    });
    connect(Button("PlayBtn"), &QPushButton::clicked, this, [this] {
        chosen_ = Row();
        if (chosen_ > 0)
            done(PlayResult);
    });
    connect(Button("MakeBtn"), &QPushButton::clicked, this, [this] {
        chosen_ = 0;
        done(EditResult);
    });
    connect(Button("EditBtn"), &QPushButton::clicked, this, [this] {
        chosen_ = Row();
        if (chosen_ > 0)
            done(EditResult);
    });
    connect(Button("RenameBtn"), &QPushButton::clicked, this, [this] {
        if (Row() == 0)
            return;
        bool ok = false;
        const QString name = QInputDialog::getText(this, windowTitle(), T(state_.German(), "Name:", "Name:"),
                                                   QLineEdit::Normal, state_.Own.Name(Row()), &ok);
        if (ok)
            RenameChosen(name);
    });
    connect(Button("DeleteBtn"), &QPushButton::clicked, this, [this] {
        if (Row() == 0)
            return;
        const bool german = state_.German();
        if (QMessageBox::question(this, windowTitle(),
                                  T(german, "Quarvel %1 aus Meinen Quarvels löschen?", "Delete Quarvel %1 from My Quarvels?")
                                      .arg(Row())) == QMessageBox::Yes)
            DeleteChosen();
    });
    connect(Button("UpBtn"), &QPushButton::clicked, this, [this] { MoveChosen(-1); });
    connect(Button("DownBtn"), &QPushButton::clicked, this, [this] { MoveChosen(1); });
    connect(Button("ExportBtn"), &QPushButton::clicked, this, [this] {
        QFileDialog dialog(this, T(state_.German(), "Quarvels exportieren", "Export Quarvels"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilter(T(state_.German(), "Quarvel-Sammlung (*.zqc)", "Quarvel collection (*.zqc)"));
        dialog.setDefaultSuffix(QLatin1String(OwnCollection::Extension));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            ExportTo(dialog.selectedFiles().constFirst());
    });
    connect(Button("ImportBtn"), &QPushButton::clicked, this, [this] {
        QFileDialog dialog(this, T(state_.German(), "Quarvels importieren", "Import Quarvels"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({T(state_.German(), "Quarvel-Sammlung (*.zqc)", "Quarvel collection (*.zqc)"),
                               T(state_.German(), "Alle Dateien (*)", "All files (*)")});
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        ImportFrom(dialog.selectedFiles().constFirst());
        QMessageBox::information(this, windowTitle(), importMessage_);
    });
    connect(Button("CloseBtn"), &QPushButton::clicked, this, [this] { done(2); });
}

QPushButton* TOwnDlg::AddButton(const char* name)
{
    auto* button = new QPushButton(this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    buttons_ << button;
    return button;
}

QPushButton* TOwnDlg::Button(const char* name) const
{
    for (QPushButton* b : buttons_)
        if (b->objectName() == QLatin1String(name))
            return b;
    return nullptr;
}

int TOwnDlg::Row() const
{
    const int row = list_->currentRow();
    return row >= 0 && row < state_.Own.Count() ? row + 1 : 0;
}

void TOwnDlg::SetTexts()
{
    const bool german = state_.German();
    setWindowTitle(T(german, "Meine Quarvels", "My Quarvels"));
    const struct {
        const char* name;
        const char* de;
        const char* en;
    } texts[] = {
        {"PlayBtn", "Spielen", "Play"},
        {"MakeBtn", "Neues Quarvel…", "Make a Quarvel…"},
        {"EditBtn", "Bearbeiten…", "Edit…"},
        {"RenameBtn", "Umbenennen…", "Rename…"},
        {"DeleteBtn", "Löschen", "Delete"},
        {"UpBtn", "Nach oben", "Move up"},
        {"DownBtn", "Nach unten", "Move down"},
        {"ExportBtn", "Exportieren…", "Export…"},
        {"ImportBtn", "Importieren…", "Import…"},
        {"CloseBtn", "Schließen", "Close"},
    };
    for (const auto& t : texts)
        Button(t.name)->setText(T(german, t.de, t.en));
    Button("ExportBtn")->setToolTip(T(german, "Die gewählten Quarvels (oder alle) in eine Datei schreiben, die man weitergeben kann",
                                      "Write the chosen Quarvels (or all) to a file to give to others"));
    Button("ImportBtn")->setToolTip(T(german, "Die Quarvels einer Sammlungsdatei anhängen",
                                      "Append the Quarvels of a collection file"));
}

void TOwnDlg::Fill()
{
    list_->clear();
    for (int i = 1; i <= state_.Own.Count(); ++i) {
        QString text = QString::number(i);
        if (!state_.Own.Name(i).isEmpty())
            text += QStringLiteral("  ") + state_.Own.Name(i);
        if (IsFinished(state_.Own.Progress(i)))
            text += state_.German() ? QStringLiteral("  (gelöst)") : QStringLiteral("  (solved)");
        list_->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(Thumbnail(state_.Own.Record(i)))), text));
    }
    if (chosen_ > 0 && chosen_ <= state_.Own.Count())
        list_->setCurrentRow(chosen_ - 1);
    UpdateButtons();
}

void TOwnDlg::UpdateButtons()
{
    const int row = Row();
    const bool writable = state_.Own.Writable();
    Button("MakeBtn")->setVisible(CanEdit);
    Button("EditBtn")->setVisible(CanEdit);
    Button("MakeBtn")->setEnabled(writable && state_.Own.Count() < OwnCollection::MaxRecords);
    Button("EditBtn")->setEnabled(writable && row > 0);
    Button("PlayBtn")->setEnabled(row > 0);
    Button("RenameBtn")->setEnabled(writable && row > 0);
    Button("DeleteBtn")->setEnabled(writable && row > 0);
    Button("UpBtn")->setEnabled(writable && row > 1);
    Button("DownBtn")->setEnabled(writable && row > 0 && row < state_.Own.Count());
    Button("ExportBtn")->setEnabled(state_.Own.Count() > 0);
    Button("ImportBtn")->setEnabled(writable);
}

int TOwnDlg::ShowModal(int select)
{
    if (const QString message = state_.LoadOwnOnce(); !message.isEmpty())
        QMessageBox::warning(parentWidget(), QStringLiteral("Zibble Quarvel"), message);
    chosen_ = select;
    SetTexts();
    Fill();
    return exec();
}

void TOwnDlg::ShowError(const QString& text) { QMessageBox::critical(this, windowTitle(), text); }

void TOwnDlg::Changed(int current)
{
    // The board plays the collection as it now is; the figure on it keeps its place in the list.
    state_.OwnChanged(current);
    Fill();
}

void TOwnDlg::RenameChosen(const QString& name)
{
    QString error;
    if (!state_.Own.Rename(Row(), name, state_.German(), &error))
        ShowError(error);
    Changed(0);
}

void TOwnDlg::DeleteChosen()
{
    const int row = Row();
    int current = state_.CurrentOf(ProgramState::Collection::Own);
    QString error;
    if (!state_.Own.Remove(row, state_.German(), &error)) {
        ShowError(error);
        return;
    }
    if (row < current)
        --current;
    chosen_ = std::min(row, state_.Own.Count());
    Changed(std::max(1, current));
}

void TOwnDlg::MoveChosen(int by)
{
    const int row = Row();
    const int to = row + by;
    if (row == 0 || to < 1 || to > state_.Own.Count())
        return;
    int current = state_.CurrentOf(ProgramState::Collection::Own);
    QString error;
    if (!state_.Own.Move(row, to, state_.German(), &error)) {
        ShowError(error);
        return;
    }
    if (current == row)
        current = to;
    else if (current == to)
        current = row;
    chosen_ = to;
    Changed(current);
}

bool TOwnDlg::ExportTo(const QString& file)
{
    // The chosen figures, in the list's order; with none chosen, all of them.
    std::vector<int> which;
    for (int i = 1; i <= state_.Own.Count(); ++i)
        if (list_->item(i - 1)->isSelected())
            which.push_back(i);
    if (which.empty())
        for (int i = 1; i <= state_.Own.Count(); ++i)
            which.push_back(i);
    QString error;
    if (!state_.Own.Export(FileSystemPath(file), which, state_.German(), &error)) {
        ShowError(error);
        return false;
    }
    return true;
}

void TOwnDlg::ImportFrom(const QString& file)
{
    const bool german = state_.German();
    // Each figure is compared with every Quarvel there is: a large file takes a while,
    // so the check runs beside the windows, shows how far it is and can be called off.
    std::atomic<int> done{0}, total{0};
    std::atomic<bool> stop{false}, finished{false};
    OwnCollection::ImportPlan plan;
    const std::filesystem::path path = FileSystemPath(file);
    std::thread worker([&] {
        plan = state_.Own.PlanImport(path, state_.ShippedLibrary(), german, [&](int d, int t) {
            done = d;
            total = t;
            return !stop;
        });
        finished = true;
    });
    QProgressDialog progress(T(german, "Die Quarvels werden geprüft…", "Checking the Quarvels…"),
                             T(german, "Abbruch", "Cancel"), 0, 100, this);
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    QEventLoop wait;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &wait, [&] {
        if (progress.wasCanceled())
            stop = true;
        if (total > 0)
            progress.setValue(std::min(99, 100 * done / total));
        if (finished)
            wait.quit();
    });
    poll.start(30);
    wait.exec();
    worker.join();
    progress.reset();
    const OwnCollection::ImportReport report = state_.Own.ApplyImport(std::move(plan), german);
    if (report.stopped) {
        importMessage_ = T(german, "Der Import wurde abgebrochen; nichts wurde übernommen.",
                           "The import was called off; nothing was added.");
        return;
    }
    QStringList lines;
    if (!report.fileFault || report.added + report.refused + report.duplicates > 0)
        lines << T(german, "%1 Quarvels übernommen, %2 schon vorhanden (übersprungen), %3 abgelehnt.",
                   "%1 Quarvels added, %2 already there (skipped), %3 refused.")
                     .arg(report.added)
                     .arg(report.duplicates)
                     .arg(report.refused);
    // Enough reasons to see what is wrong, not a screenful.
    constexpr qsizetype Shown = 15;
    lines << report.reasons.mid(0, Shown);
    if (report.reasons.size() > Shown)
        lines << T(german, "… und %1 weitere.", "… and %1 more.").arg(report.reasons.size() - Shown);
    importMessage_ = lines.join(QLatin1Char('\n'));
    if (report.added > 0)
        chosen_ = state_.Own.Count() - report.added + 1;
    Changed(0);
}

} // namespace zq
