#include "app/ResultWindow.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "app/DownloadDialog.h"
#include "app/QtText.h"
#include "service/AppState.h"
#include "service/SongFiles.h"
#include "text/GbkLiteral.h"
#include "web/UrlParts.h"

namespace quorvel {

namespace {

template <class W> W* place(W* w, const char* name, QRect geometry) {
    w->setObjectName(QString::fromUtf8(name));
    w->setGeometry(geometry);
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const char* text, QRect geometry) {
    return place(new QPushButton(QString::fromUtf8(text), parent), name, geometry);
}

QLabel* label(QWidget* parent, const char* name, const char* text, QRect geometry) {
    return place(new QLabel(QString::fromUtf8(text), parent), name, geometry);
}

// The donation box lies beyond the window's right edge, as designed.
void addDonationBox(QWidget* parent) {
    auto* group =
        place(new QGroupBox(QStringLiteral("微信捐助"), parent), "分组框1", {410, 6, 231, 269});
    QLabel* picture = label(group, "图片框1", "", {5, 16, 224, 247});
    label(picture, "透明标签2", "想捐助的朋友微信扫一扫", {44, 227, 131, 16});
}

// Beside the program when that folder can be written; otherwise (an installed program) the
// user's download folder, made if missing.
Text lyricsDirectory() {
    Text runDirectory = toolkit().runDirectory();
    QFileInfo besideProgram(qtString(runDirectory));
    if (besideProgram.isDir() && besideProgram.isWritable()) return runDirectory;
    QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    QDir().mkpath(downloads);
    return gbkText(downloads);
}

} // namespace

ResultWindow::ResultWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("按 Esc 可关闭本窗口"));
    setGeometry(50, 50, 411, 281);
    setFixedSize(size());

    label(this, "透明标签1", "解析成功！！！", {158, 8, 104, 24});
    QPushButton* open = button(this, "按钮2", "打开下载地址", {14, 36, 96, 25});
    QPushButton* copy = button(this, "按钮1", "复制下载链接并关闭软件", {129, 36, 144, 25});
    QPushButton* download = button(this, "按钮3", "通过该软件下载", {291, 36, 106, 25});
    // The author's chat-contact link is not carried over: the hint is a plain label.
    label(this, "超级链接框4", "可按 Esc键 关闭本窗口", {140, 65, 128, 15});
    infoBox_ = place(new QPlainTextEdit(QStringLiteral("*"), this), "编辑框1", {10, 88, 366, 192});
    infoBox_->setReadOnly(true);
    infoBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPushButton* lyrics = button(this, "按钮4", "下\n载\n歌\n词", {376, 88, 32, 192});
    addDonationBox(this);

    connect(copy, &QPushButton::clicked, this, &ResultWindow::onCopyLinkAndClose);
    connect(open, &QPushButton::clicked, this, &ResultWindow::onOpenLink);
    connect(download, &QPushButton::clicked, this, &ResultWindow::onDownload);
    connect(lyrics, &QPushButton::clicked, this, &ResultWindow::onSaveLyrics);
}

QWidget* ResultWindow::control(ControlId c) const {
    if (c == ControlId::Window) return const_cast<ResultWindow*>(this);
    if (c == ControlId::InfoBox) return infoBox_;
    return nullptr;
}

bool ResultWindow::linkUsable() const {
    if (isWebAddress(appState().downloadLink)) return true;
    toolkit().messageBox("啊哦，出现错误了！！！"_gbk, buttonsOkError);
    return false;
}

void ResultWindow::onCopyLinkAndClose() {
    if (!linkUsable()) return;
    toolkit().setClipboardText(appState().downloadLink);
    toolkit().writeText(WindowId::Main, ControlId::Window, "复制下载地址完毕！！！"_gbk);
    close();
}

void ResultWindow::onOpenLink() {
    if (linkUsable()) toolkit().openUrl(appState().downloadLink);
}

void ResultWindow::onDownload() {
    if (!linkUsable()) return;
    Text link = appState().downloadLink; // the dialog below lets other events run
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    QString proposed = folder + "/" + qtString(songFileName(appState().songName, link));
    QString target = QFileDialog::getSaveFileName(this, QStringLiteral("保存歌曲"), proposed);
    if (target.isEmpty()) return;
    // Owned by the main window, so closing this window does not end the download.
    auto* dialog = new DownloadDialog(link, target, parentWidget());
    dialog->start();
}

void ResultWindow::onSaveLyrics() {
    Text path = lyricsFilePath(lyricsDirectory(), appState().songName);
    if (toolkit().writeFile(path, toBytes(appState().lyricsText)))
        toolkit().messageBox("下载歌词完毕："_gbk + path);
    else
        toolkit().messageBox("下载歌词失败："_gbk + path, buttonsOkError);
}

void ResultWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

} // namespace quorvel
