// quorvel-cli run as a process against the demo music service on loopback.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "Catalogue.h"
#include "CliRunner.h"
#include "DemoService.h"
#include "text/CodePage.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;

const std::string serviceError = "啊哦，出现错误了！！！\n";

const demo::Song& songNamed(const std::string& fileName) {
    for (const demo::Song& song : demo::catalogue())
        if (song.fileName() == fileName) return song;
    throw std::runtime_error("no demo song " + fileName);
}

std::string hashOrEmpty(const std::optional<demo::SongFile>& file) {
    return file ? file->hash : std::string();
}

std::string tsvLine(int number, const demo::Song& song) {
    return std::to_string(number) + "\t" + song.fileName() + "\t" + song.standard.hash + "\t" +
           hashOrEmpty(song.high) + "\t" + hashOrEmpty(song.lossless) + "\n";
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> all;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        all.push_back(line);
    return all;
}

// A loopback port that nothing listens on.
int closedPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}

class CliCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quorvel-cli-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch = pattern;
        runner = std::make_unique<CliRunner>(scratch);
        startService({});
    }
    void TearDown() override {
        service.reset();
        fs::remove_all(scratch);
    }

    void startService(demo::DemoOptions options) {
        service = std::make_unique<demo::DemoService>(std::move(options));
        ASSERT_GT(service->start(0), 0);
        pointAt(service->hostPort());
    }
    void pointAt(const std::string& host) {
        runner->setEnv("QUORVEL_SEARCH_HOST", host);
        runner->setEnv("QUORVEL_PLAY_HOST", host);
    }
    // A folder inside the scratch folder, made now.
    std::string folder(const std::string& name) {
        fs::create_directories(scratch + "/" + name);
        return scratch + "/" + name;
    }

    std::string scratch;
    std::unique_ptr<CliRunner> runner;
    std::unique_ptr<demo::DemoService> service;
};

TEST_F(CliCommandsTest, versionAndHelpOfEveryCommand) {
    CliOutcome version = runner->run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "1.0\n");
    CliOutcome help = runner->run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.out.rfind("usage: quorvel-cli COMMAND", 0), 0u) << help.out;
    for (const char* command : {"search", "resolve", "download", "get"}) {
        CliOutcome outcome = runner->run({command, "--help"});
        EXPECT_EQ(outcome.exitStatus, 0) << command;
        EXPECT_EQ(outcome.out.rfind(std::string("usage: quorvel-cli ") + command + " ", 0), 0u)
            << outcome.out;
        EXPECT_EQ(outcome.err, "");
    }
}

TEST_F(CliCommandsTest, usageErrorsExitWithTwoAndOneLineReason) {
    const std::vector<std::vector<std::string>> commandLines = {
        {},
        {"play", "x"},
        {"--version", "extra"},
        {"search"},
        {"search", "   "},
        {"search", "x", "--bogus"},
        {"search", "--tsv=yes", "x"},
        {"resolve"},
        {"resolve", "a", "b"},
        {"resolve", "a", "--lyrics"},
        {"download", "a", "--tsv"},
        {"get", "x", "--quality", "mp3"},
        {"get", "x", "--pick", "0"},
        {"get", "x", "--pick", "two"},
    };
    for (const auto& args : commandLines) {
        CliOutcome outcome = runner->run(args);
        std::string shown;
        for (const auto& a : args)
            shown += a + " ";
        EXPECT_EQ(outcome.exitStatus, 2) << shown;
        EXPECT_EQ(outcome.out, "") << shown;
        EXPECT_EQ(outcome.err.rfind("quorvel-cli: ", 0), 0u) << shown << outcome.err;
        EXPECT_EQ(lines(outcome.err).size(), 1u) << shown << outcome.err;
    }
}

TEST_F(CliCommandsTest, searchListsHitsInAlignedColumnsOrAsTsv) {
    const demo::Song& jay = songNamed("周杰伦 - 晴天");
    const demo::Song& jj = songNamed("林俊杰 - 晴天");
    const demo::Song& various = songNamed("群星 - 100% 晴天");

    CliOutcome tsv = runner->run({"search", "--tsv", "晴天"});
    EXPECT_EQ(tsv.exitStatus, 0);
    EXPECT_EQ(tsv.out, tsvLine(1, jay) + tsvLine(2, jj) + tsvLine(3, various));

    CliOutcome table = runner->run({"search", "晴天"});
    EXPECT_EQ(table.exitStatus, 0);
    const auto rows = lines(table.out);
    ASSERT_EQ(rows.size(), 4u) << table.out;
    EXPECT_EQ(rows[1].rfind("1  周杰伦 - 晴天  ", 0), 0u) << rows[1];
    EXPECT_EQ(rows[3].rfind("3  群星 - 100% 晴天  ", 0), 0u) << rows[3];
    // A Chinese character takes two columns, as it takes two GBK bytes: every 128K hash starts
    // in the column of the header's "128K", every HQ hash under "HQ".
    const Text header = utf8ToGbk(rows[0]);
    for (size_t i = 1; i < rows.size(); ++i) {
        const Text row = utf8ToGbk(rows[i]);
        const demo::Song& song = i == 1 ? jay : i == 2 ? jj : various;
        EXPECT_EQ(row.find(song.standard.hash), header.find("128K")) << rows[i];
        if (song.high) {
            EXPECT_EQ(row.find(song.high->hash), header.find("HQ")) << rows[i];
        }
    }
}

TEST_F(CliCommandsTest, keywordWithChineseAndBlanksIsSentAsUtf8) {
    CliOutcome outcome = runner->run({"search", "--tsv", "100% 晴天"});
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.out, tsvLine(1, songNamed("群星 - 100% 晴天")));
    EXPECT_NE(service->lastRequest().target.find("&keyword=100%25%20%E6%99%B4%E5%A4%A9&"),
              std::string::npos)
        << service->lastRequest().target;
}

TEST_F(CliCommandsTest, resolvePrintsTheSixLinesAndTheLinkAndWritesGbkLyrics) {
    const demo::Song& jay = songNamed("周杰伦 - 晴天");
    const std::string lyricsFile = scratch + "/lyrics.lrc.txt";
    CliOutcome outcome = runner->run({"resolve", jay.standard.hash, "--lyrics", lyricsFile});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.err;
    const std::string base = "http://" + service->hostPort();
    EXPECT_EQ(outcome.out, "时长：4.083333333333 min\n"
                           "大小：3.74 MB\n"
                           "歌曲名：周杰伦 - 晴天\n"
                           "所属专辑：叶惠美\n"
                           "专辑图片：" +
                               base + "/images/" + jay.standard.hash +
                               ".jpg\n"
                               "音质：128 k\n" +
                               base + "/audio/" + jay.standard.hash + ".mp3\n");
    EXPECT_EQ(fileContents(lyricsFile), utf8ToGbk(jay.lyrics));
}

TEST_F(CliCommandsTest, downloadStreamsTheFileUnderTheSongNameOrTheGivenPath) {
    const demo::Song& jay = songNamed("周杰伦 - 晴天");
    const std::string besideDir = folder("beside");
    runner->setWorkingDir(besideDir);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "周杰伦 - 晴天.mp3"},
        {scratch + "/chosen.bin", scratch + "/chosen.bin"},
        {folder("into"), folder("into") + "/周杰伦 - 晴天.mp3"},
    };
    for (const auto& [output, expected] : cases) {
        std::vector<std::string> args = {"download", jay.standard.hash};
        if (!output.empty()) args.insert(args.end(), {"-o", output});
        CliOutcome outcome = runner->run(args);
        EXPECT_EQ(outcome.exitStatus, 0) << outcome.err;
        EXPECT_EQ(outcome.out, expected + "\n");
        EXPECT_EQ(outcome.err, ""); // no progress bar when standard error is not a terminal
        const fs::path written =
            fs::path(expected).is_absolute() ? fs::path(expected) : besideDir / fs::path(expected);
        EXPECT_EQ(fileContents(written.string()).substr(0, 4), "ID3\x03");
        EXPECT_EQ(fs::file_size(written), 4096u);
        EXPECT_FALSE(fs::exists(written.string() + ".part"));
    }
}

TEST_F(CliCommandsTest, progressBarGoesToStandardErrorWhenItIsATerminal) {
    runner->setTerminalForErrors(true);
    CliOutcome outcome =
        runner->run({"download", songNamed("Adele - Hello").standard.hash, "-o", scratch});
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(outcome.out, scratch + "/Adele - Hello.mp3\n");
    EXPECT_NE(outcome.err.find("\r[####################] 100%  4.0 KB / 4.0 KB  "),
              std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.err.substr(outcome.err.size() - 2), "\r\n") << outcome.err; // line ended
}

TEST_F(CliCommandsTest, getTakesThePickedHitAtTheQualityIntoTheFolder) {
    const demo::Song& jj = songNamed("林俊杰 - 晴天");
    const std::string into = folder("songs");
    CliOutcome outcome = runner->run({"get", "晴天", "--quality", "hq", "--pick", "2", "-o", into});
    EXPECT_EQ(outcome.exitStatus, 0) << outcome.err;
    EXPECT_EQ(outcome.out, into + "/林俊杰 - 晴天.mp3\n");
    EXPECT_EQ(fs::file_size(into + "/林俊杰 - 晴天.mp3"), 4096u);
    EXPECT_EQ(service->lastRequest().target, "/audio/" + jj.high->hash + ".mp3");

    CliOutcome byDefault = runner->run({"get", "Love Story"});
    EXPECT_EQ(byDefault.exitStatus, 0) << byDefault.err;
    EXPECT_EQ(byDefault.out, "Taylor Swift - Love Story.mp3\n");
    EXPECT_EQ(service->lastRequest().target,
              "/audio/" + songNamed("Taylor Swift - Love Story").standard.hash + ".mp3");
}

TEST_F(CliCommandsTest, nothingFoundOrNoLinkExitsWithOne) {
    struct Case {
        std::vector<std::string> args;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"search", "no such song"}, "quorvel-cli: nothing found for 'no such song'\n"},
        {{"get", "no such song"}, "quorvel-cli: nothing found for 'no such song'\n"},
        {{"get", "晴天", "--pick", "4"}, "quorvel-cli: no hit 4: the search found 3\n"},
        {{"resolve", "0123456789ABCDEF0123456789ABCDEF"}, serviceError},
        {{"download", "0123456789ABCDEF0123456789ABCDEF"}, serviceError},
        // the third hit has no HQ file: its empty hash gets no link
        {{"get", "晴天", "--pick", "3", "--quality", "hq"}, serviceError},
    };
    for (const Case& c : cases) {
        CliOutcome outcome = runner->run(c.args);
        EXPECT_EQ(outcome.exitStatus, 1) << c.args[1];
        EXPECT_EQ(outcome.out, "") << c.args[1];
        EXPECT_EQ(outcome.err, c.err);
    }
    for (const auto& entry : fs::directory_iterator(scratch)) // no song file was left behind
        EXPECT_EQ(entry.path().filename().string().rfind("cli-", 0), 0u) << entry.path();
}

TEST_F(CliCommandsTest, networkAndFileFailuresExitWithThree) {
    const demo::Song& jay = songNamed("周杰伦 - 晴天");
    const std::string missing = scratch + "/missing";
    const std::vector<std::vector<std::string>> fileFailures = {
        {"resolve", jay.standard.hash, "--lyrics", missing + "/x.lrc.txt"},
        {"download", jay.standard.hash, "-o", missing + "/x.mp3"},
        {"get", "晴天", "-o", missing},
    };
    for (const auto& args : fileFailures) {
        CliOutcome outcome = runner->run(args);
        EXPECT_EQ(outcome.exitStatus, 3) << args[0];
        EXPECT_EQ(outcome.err.rfind("quorvel-cli: ", 0), 0u) << outcome.err;
        EXPECT_EQ(lines(outcome.err).size(), 1u) << outcome.err;
    }
    const std::string closed = "127.0.0.1:" + std::to_string(closedPort());
    pointAt(closed);
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"search", "晴天"},
                                               {"resolve", jay.standard.hash},
                                               {"download", jay.standard.hash},
                                               {"get", "晴天"}}) {
        CliOutcome outcome = runner->run(args);
        EXPECT_EQ(outcome.exitStatus, 3) << args[0];
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "quorvel-cli: no answer from the music service at " + closed + "\n");
    }
}

// Serves the play data of one song whose audio trickles out: 1 KB every 50 ms of a 1 MB file.
class SlowSongServer {
  public:
    SlowSongServer() {
        server_.Get("/yy/index.php", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(R"({"status":1,"err_code":0,"data":{"timelength":1000,)"
                            R"("filesize":1048576,"audio_name":"slow","bitrate":128,)"
                            R"("play_url":"http:\/\/)" +
                                hostPort() + R"(\/slow.mp3"}})",
                            "text/html; charset=utf-8");
        });
        server_.Get("/slow.mp3", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(
                1 << 20, "audio/mpeg", [this](size_t, size_t, httplib::DataSink& sink) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    return !stopping_ && sink.write(std::string(1024, 'a').data(), 1024);
                });
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~SlowSongServer() {
        stopping_ = true;
        server_.stop();
        thread_.join();
    }
    std::string hostPort() const { return "127.0.0.1:" + std::to_string(port_); }

  private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
};

TEST_F(CliCommandsTest, interruptedDownloadRemovesThePartFile) {
    SlowSongServer slow;
    pointAt(slow.hostPort());
    const std::string target = scratch + "/slow.mp3";
    const pid_t pid = runner->start({"download", "ANY", "-o", target});
    bool started = false;
    for (int i = 0; i < 200 && !started; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::error_code error;
        started = fs::file_size(target + ".part", error) > 0 && !error;
    }
    ASSERT_TRUE(started);
    kill(pid, SIGINT);
    CliOutcome outcome = runner->finish(pid);
    EXPECT_EQ(outcome.exitStatus, 130);
    EXPECT_EQ(outcome.err, "quorvel-cli: download interrupted\n");
    EXPECT_FALSE(fs::exists(target + ".part"));
    EXPECT_FALSE(fs::exists(target));
}

} // namespace
} // namespace quorvel
