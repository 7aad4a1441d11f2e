#include "app/QtText.h"

#include "text/CodePage.h"

namespace quorvel {

QString qtString(const Text& gbk) {
    return QString::fromStdString(gbkToUtf8(gbk));
}

Text gbkText(const QString& s) {
    return utf8ToGbk(s.toStdString());
}

QString qtLines(const Text& gbk) {
    return qtString(gbk).replace(QStringLiteral("\r\n"), "\n");
}

Text gbkLines(const QString& s) {
    return gbkText(QString(s).replace('\n', QStringLiteral("\r\n")));
}

} // namespace quorvel
