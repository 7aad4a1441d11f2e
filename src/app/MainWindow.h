#pragma once
// The program's top-level window: keyword box, search button, hit list and quality menu. Its
// caption doubles as the status line.
#include <QWidget>

#include "app/toolkit/Toolkit.h"

class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;

namespace quorvel {

class MainWindow : public QWidget {
    Q_OBJECT
  public:
    MainWindow();

    // The widget behind a control of this window (null for controls it lacks).
    QWidget* control(ControlId) const;
    QTreeWidget* hitList() const { return hitList_; }
    QMenu* qualityMenu() const { return qualityMenu_; }
    // The selected row of the hit list, -1 when none.
    int selectedRow() const;

    // The search button's click and Enter in the keyword box: start or stop a search.
    void onSearchClicked();
    // Opens the quality menu at the mouse when a row is selected.
    void onListRightClick();
    // Hands the selected row's hash in column to link resolution.
    void onResolveMenu(int column);

  protected:
    // The program ends with its main window.
    void closeEvent(QCloseEvent*) override;

  private:
    void startSearch();
    void stopSearch();

    QLineEdit* keywordBox_;
    QPushButton* searchButton_;
    QTreeWidget* hitList_;
    QMenu* qualityMenu_;
};

} // namespace quorvel
