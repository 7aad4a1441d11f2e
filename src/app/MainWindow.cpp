#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTreeWidget>

#include "app/AppHooks.h"
#include "app/QtText.h"
#include "service/AppState.h"
#include "text/GbkLiteral.h"

namespace quorvel {

namespace {

const QString idleCaption = QStringLiteral("搜索");
const QString runningCaption = QStringLiteral("停止搜索");

struct Column {
    const char* title;
    int width;
};
constexpr Column hitColumns[] = {
    {"歌曲名", 295}, {"FileHash", 93}, {"HQFileHash", 93}, {"SQFileHash", 93}};

struct QualityItem {
    const char* text;
    int column; // the hash column the item reads
};
constexpr QualityItem qualityItems[] = {
    {"解析[128K]", 1}, {"解析HQ[320K]", 2}, {"解析SQ[无损]", 3}};

template <class W> W* place(W* w, const char* name, QRect geometry) {
    w->setObjectName(QString::fromUtf8(name));
    w->setGeometry(geometry);
    return w;
}

// A header section's size for its title in the header's own font. A header whose sections have
// no size of their own measures every title in bold, which would load the bold font files at
// start-up only to measure them.
QSize titleSize(const QHeaderView* header, const QString& title) {
    QStyleOptionHeader option;
    option.initFrom(header);
    option.orientation = Qt::Horizontal;
    option.text = title;
    return header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header);
}

QTreeWidget* makeHitList(QWidget* parent) {
    auto* list = place(new QTreeWidget(parent), "超级列表框1", {0, 40, 584, 304});
    QStringList titles;
    for (const Column& c : hitColumns)
        titles << QString::fromUtf8(c.title);
    list->setHeaderLabels(titles);
    for (int i = 0; i < list->columnCount(); ++i) {
        list->setColumnWidth(i, hitColumns[i].width);
        list->headerItem()->setSizeHint(i, titleSize(list->header(), titles[i]));
    }
    list->header()->setStretchLastSection(false);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    return list;
}

} // namespace

MainWindow::MainWindow() {
    setWindowTitle(QStringLiteral("QuorvelV1.0   收费歌曲暂时只支持128K下载      by：Ostrel"));
    setGeometry(50, 50, 588, 376);
    setFixedSize(size());

    // The author's chat-contact links are not carried over: the two link labels are plain.
    place(new QLabel(QStringLiteral("歌曲名/歌手："), this), "超级链接框1", {2, 11, 94, 23});
    keywordBox_ = place(new QLineEdit(this), "编辑框1", {99, 11, 237, 23});
    keywordBox_->setAlignment(Qt::AlignCenter);
    searchButton_ = place(new QPushButton(idleCaption, this), "按钮1", {342, 10, 88, 24});
    place(new QLabel(QStringLiteral("鼠标右键点击呼出解析菜单"), this), "超级链接框2",
          {434, 13, 144, 21});
    hitList_ = makeHitList(this);

    qualityMenu_ = new QMenu(this);
    qualityMenu_->setObjectName(QStringLiteral("菜单"));
    for (const QualityItem& q : qualityItems) {
        int column = q.column;
        qualityMenu_->addAction(QString::fromUtf8(q.text), this,
                                [this, column] { onResolveMenu(column); });
    }

    connect(searchButton_, &QPushButton::clicked, this, &MainWindow::onSearchClicked);
    connect(keywordBox_, &QLineEdit::returnPressed, this, &MainWindow::onSearchClicked);
    connect(hitList_, &QTreeWidget::customContextMenuRequested, this,
            &MainWindow::onListRightClick);
}

QWidget* MainWindow::control(ControlId c) const {
    switch (c) {
    case ControlId::Window:
        return const_cast<MainWindow*>(this);
    case ControlId::KeywordBox:
        return keywordBox_;
    case ControlId::SearchButton:
        return searchButton_;
    case ControlId::HitList:
        return hitList_;
    default:
        return nullptr;
    }
}

int MainWindow::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = hitList_->selectedItems();
    return selected.isEmpty() ? -1 : hitList_->indexOfTopLevelItem(selected.first());
}

void MainWindow::onSearchClicked() {
    if (keywordBox_->text().isEmpty()) {
        toolkit().messageBox("随便输入点什么吧"_gbk);
        return;
    }
    if (searchButton_->text() == idleCaption)
        startSearch();
    else
        stopSearch();
}

void MainWindow::startSearch() {
    auto token = std::make_shared<CancelToken>();
    appState().searchThread = token;
    toolkit().startThread(appHooks().runSearch, token);
    searchButton_->setText(runningCaption);
    keywordBox_->setEnabled(false);
}

void MainWindow::stopSearch() {
    // Nothing the stopped search queued lands after this; the caption stays as it is.
    if (appState().searchThread) appState().searchThread->cancelled = true;
    searchButton_->setText(idleCaption);
    keywordBox_->setEnabled(true);
}

void MainWindow::onListRightClick() {
    if (selectedRow() == -1) return;
    qualityMenu_->popup(QCursor::pos());
}

void MainWindow::onResolveMenu(int column) {
    int row = selectedRow();
    if (row == -1) return;
    appHooks().resolveLink(gbkText(hitList_->topLevelItem(row)->text(column)));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    toolkit().endProgram(0);
    event->accept();
}

} // namespace quorvel
