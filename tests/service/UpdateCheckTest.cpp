#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ServiceTestBed.h"
#include "service/UpdateCheck.h"
#include "text/GbkLiteral.h"

namespace quorvel {
namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string fixturePage(const char* name) {
    return readFile(std::string(QUORVEL_SHARED_DIR) + "/fixtures/service/" + name);
}

class UpdateCheck : public ServiceTestBed {
  protected:
    void checkWithPage(const std::string& page) {
        demo::DemoOptions options;
        options.updatePage = page;
        startService(options);
        checkForUpdate();
    }
};

const Text failureText =
    "软件连接更新服务器失败！！！\r\n如果这个版本不可用了，+Q：Kestrom\r\n当前版本：1.0"_gbk;

TEST_F(UpdateCheck, sameVersionShowsNothingAndTheProgramRunsOn) {
    for (const std::string& page :
         {fixturePage("update-page-current.txt"), readFile(QUORVEL_UPDATE_PAGE_FILE)}) {
        ASSERT_FALSE(page.empty());
        checkWithPage(page);
    }
    EXPECT_TRUE(headless.messageBoxes().empty());
    EXPECT_FALSE(headless.exitCode());
}

TEST_F(UpdateCheck, unreadablePageReportsTheFailureOwnedByTheMainWindow) {
    const std::string pages[] = {
        "",                                        // missing page (404)
        fixturePage("update-page-no-version.txt"), // no version field
        "最新版本："_gbk + "1.1",                  // version without "++"
        "最新版本：1.1++",                         // UTF-8 page: the GBK labels do not match
    };
    for (const std::string& page : pages)
        checkWithPage(page);
    service->stop();
    checkForUpdate(); // nothing listening
    const auto boxes = headless.messageBoxes();
    ASSERT_EQ(boxes.size(), 5u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.text, failureText);
        EXPECT_EQ(box.title, "信息："_gbk);
        EXPECT_EQ(box.buttons, buttonsOk);
        EXPECT_EQ(box.owner, WindowId::Main);
    }
    EXPECT_FALSE(headless.exitCode());
}

TEST_F(UpdateCheck, sendsTheMobileUserAgentLine) {
    checkWithPage(fixturePage("update-page-current.txt"));
    EXPECT_EQ(service->lastRequest().userAgent,
              "Mozilla/5.0 (Linux; Android 4.2.2; GT-I9505 Build/JDQ39) AppleWebKit/537.36 "
              "(KHTML, like Gecko) Chrome/31.0.1650.59 Mobile Safari/537.36");
}

TEST_F(UpdateCheck, newVersionAsksOpensTheAddressOnYesAndEndsEitherWay) {
    const int answers[] = {answerYes, answerNo};
    for (int k = 0; k < 2; ++k) {
        headless.queueAnswer(answers[k]);
        checkWithPage(fixturePage("update-page-newer.txt"));
        const auto boxes = headless.messageBoxes();
        ASSERT_EQ(boxes.size(), k + 1u);
        EXPECT_EQ(boxes[k].text,
                  "当前版本：1.0\r\n最新版本：1.1\r\n更新内容：修复搜索\r\n新增无损解析"
                  "\r\n界面优化"_gbk);
        EXPECT_EQ(boxes[k].title, "发现新版本"_gbk);
        EXPECT_EQ(boxes[k].buttons, buttonsYesNo);
        EXPECT_EQ(boxes[k].owner, WindowId::Main);
        // Yes opens the address; No opens nothing more.
        EXPECT_EQ(headless.openedUrls(),
                  std::vector<Text>{"http://example.invalid/quorvel-1.1.zip"});
        EXPECT_EQ(headless.exitCode(), 0);
    }
}

TEST_F(UpdateCheck, onlyWebAddressesAreOpenedOtherwiseTheFallback) {
    struct Case {
        const char* addressField; // UTF-8; converted with the page
        const char* opened;
    };
    const Case cases[] = {
        {"下载地址：HTTPS://example.invalid/new.zip++", "HTTPS://example.invalid/new.zip"},
        {"下载地址：file:///etc/passwd++", "https://quorvel.github.io/"},
        {"下载地址：/usr/bin/xcalc++", "https://quorvel.github.io/"},
        {"下载地址：++", "https://quorvel.github.io/"},
        {"", "https://quorvel.github.io/"},
    };
    std::size_t k = 0;
    for (const Case& c : cases) {
        headless.queueAnswer(answerYes);
        // "1.0 " with a blank is another version.
        checkWithPage(concat("最新版本：1.0 ++"_gbk, utf8ToGbk(c.addressField)));
        ASSERT_EQ(headless.messageBoxes().size(), k + 1);
        EXPECT_EQ(headless.messageBoxes()[k].text,
                  "当前版本：1.0\r\n最新版本：1.0 \r\n更新内容："_gbk);
        ASSERT_EQ(headless.openedUrls().size(), k + 1);
        EXPECT_EQ(headless.openedUrls()[k], c.opened) << c.addressField;
        ++k;
    }
}

} // namespace
} // namespace quorvel
