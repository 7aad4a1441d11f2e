#include "service/UpdateCheck.h"

#include "app/toolkit/Toolkit.h"
#include "service/Endpoints.h"
#include "text/GbkLiteral.h"
#include "text/TextBetween.h"
#include "web/FetchCom.h"
#include "web/UrlParts.h"

namespace quorvel {

namespace {

const Text userAgentLine =
    "User-Agent:Mozilla/5.0 (Linux; Android 4.2.2; GT-I9505 Build/JDQ39) AppleWebKit/537.36 "
    "(KHTML, like Gecko) Chrome/31.0.1650.59 Mobile Safari/537.36";

// The update page as GBK text up to its first NUL; "" when it cannot be read.
Text fetchUpdatePage() {
    WebRequest request;
    request.url = updatePageUrl();
    request.method = 0;
    request.headers = userAgentLine;
    return textInBytes(fetchCom(request));
}

void reportFailedCheck() {
    toolkit().messageBox(
        concat(
            "软件连接更新服务器失败！！！\r\n如果这个版本不可用了，+Q：Kestrom\r\n当前版本："_gbk,
            currentVersion()),
        buttonsOk, std::nullopt, WindowId::Main);
}

void announceVersion(const Text& page, const Text& latest) {
    const Text content = replace(textBetween(page, "更新内容："_gbk, "++"), "*", "\r\n");
    Text address = textBetween(page, "下载地址："_gbk, "++");
    // Only web addresses go to the desktop's opener; anything else could start a local program.
    if (!isWebAddress(address)) address = fallbackDownloadUrl();
    const Text message = concat("当前版本："_gbk, currentVersion(), "\r\n最新版本："_gbk, latest,
                                "\r\n更新内容："_gbk, content);
    const int answer =
        toolkit().messageBox(message, buttonsYesNo, "发现新版本"_gbk, WindowId::Main);
    if (answer == answerYes) toolkit().openUrl(address);
    toolkit().endProgram(0);
}

} // namespace

const Text& currentVersion() {
    static const Text version = "1.0";
    return version;
}

void checkForUpdate() {
    const Text page = fetchUpdatePage();
    const Text latest = textBetween(page, "最新版本："_gbk, "++");
    if (latest == currentVersion()) return;
    if (latest.empty()) {
        reportFailedCheck();
        return;
    }
    announceVersion(page, latest);
}

} // namespace quorvel
