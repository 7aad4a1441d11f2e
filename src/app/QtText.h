#pragma once
// Conversions between the program's GBK texts and Qt's strings, for the Qt layer's edges.
#include <QString>

#include "text/Text.h"

namespace quorvel {

// GBK text as a Qt string (also GBK paths as file-system paths).
QString qtString(const Text& gbk);
// A Qt string as GBK text (characters GBK lacks become "?").
Text gbkText(const QString& s);
// GBK text with CR LF line ends as a Qt string with LF line ends, for display.
QString qtLines(const Text& gbk);
// A Qt string with LF line ends as GBK text with CR LF line ends.
Text gbkLines(const QString& s);

} // namespace quorvel
