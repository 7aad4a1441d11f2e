#pragma once
// The outcome of a link resolution: the info box and the actions on the link and the lyrics in
// AppState. Owned by the main window, not modal; Esc closes it and closing destroys it.
#include <QWidget>

#include "app/toolkit/Toolkit.h"

class QPlainTextEdit;

namespace quorvel {

class ResultWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ResultWindow(QWidget* owner);

    // The widget behind a control of this window (null for controls it lacks).
    QWidget* control(ControlId) const;

    // Copies downloadLink, reports it in the main window's caption and closes this window.
    void onCopyLinkAndClose();
    // Opens downloadLink with the desktop's default handler.
    void onOpenLink();
    // Asks where to save the song and downloads downloadLink there.
    void onDownload();
    // Writes lyricsText beside the program, or in the download folder when the program's folder
    // cannot be written, and reports the path written.
    void onSaveLyrics();

  protected:
    void keyPressEvent(QKeyEvent*) override;

  private:
    // True for an http or https downloadLink; otherwise shows the error message.
    bool linkUsable() const;

    QPlainTextEdit* infoBox_;
};

} // namespace quorvel
