// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QImage>

class QListWidget;
class QPushButton;

namespace zq {

struct ProgramState;
struct PuzzleRecord;

// My Quarvels: the list of the player's own figures with their names, to
// rename, delete, put in order, open again in the editor, play, and share
// (export a chosen part, import another player's file).
class TOwnDlg : public QDialog {
    Q_OBJECT
public:
    // What the dialog closes with besides 2 (Close, Escape): play or edit Chosen().
    static constexpr int PlayResult = 10;
    static constexpr int EditResult = 11;

    TOwnDlg(ProgramState& state, QWidget* parent = nullptr);

    // Shows the list with figure select (1..Count) chosen.
    int ShowModal(int select);
    // The figure to play or edit; 0 for a new one; after a Close, the one last chosen.
    int Chosen() const { return chosen_; }
    // Whether the editor can be opened: without it, nothing offers to make or edit a figure.
    bool CanEdit = false;

    // The actions; the file actions take the file the player picked.
    void RenameChosen(const QString& name);
    void DeleteChosen();
    void MoveChosen(int by);
    bool ExportTo(const QString& file);
    void ImportFrom(const QString& file);
    // The player's message after an import: counts first, then a reason per refused figure.
    QString ImportMessage() const { return importMessage_; }

    QListWidget* List() const { return list_; }
    QPushButton* Button(const char* name) const;

    // A figure drawn at one pixel per cell, black on silver, as the gallery draws it.
    static QImage Thumbnail(const PuzzleRecord& r);

private:
    void Fill();
    void Changed(int current);
    void ShowError(const QString& text);
    void SetTexts();
    void UpdateButtons();
    QPushButton* AddButton(const char* name);
    int Row() const; // the chosen figure, 1-based, 0 for none

    ProgramState& state_;
    QListWidget* list_;
    QList<QPushButton*> buttons_;
    int chosen_ = 0;
    QString importMessage_;
};

} // namespace zq
