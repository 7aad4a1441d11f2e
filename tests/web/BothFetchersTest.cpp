// Behaviour both fetchers share, run against each.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "WebRoutes.h"
#include "app/toolkit/Toolkit.h"
#include "support/TestHttpsServer.h"
#include "support/TinyProxy.h"
#include "web/CurlTransfer.h"
#include "web/FetchCom.h"
#include "web/FetchWinInet.h"

namespace quorvel {
namespace {

using Fetcher = Bytes (*)(WebRequest&);

class BothFetchers : public ::testing::TestWithParam<Fetcher> {
  protected:
    Bytes fetch(const Text& path, const Text& headers = "") {
        request.url = server.url(path);
        request.headers = headers;
        return GetParam()(request);
    }

    test::TestHttpServer server{test::webRoute};
    WebRequest request;
};

// Shorter waits for the stalling server, restored afterwards.
class ShortTimeouts {
  public:
    ShortTimeouts() { setDefaultTransferTimeouts({2000, 1000}); }
    ~ShortTimeouts() { setDefaultTransferTimeouts(saved_); }

  private:
    TransferTimeouts saved_ = defaultTransferTimeouts();
};

TEST_P(BothFetchers, errorStatusesReturnTheirBody) {
    EXPECT_EQ(fetch("/status/404"), toBytes("missing"));
    EXPECT_EQ(fetch("/status/500"), toBytes("broken"));
}

TEST_P(BothFetchers, noBodyStillGivesTheHeaderBlock) {
    EXPECT_TRUE(fetch("/empty").empty());
    EXPECT_NE(find(request.responseHeaders, "Content-Length: 0"), -1);
}

TEST_P(BothFetchers, largeBodyArrivesWhole) {
    EXPECT_EQ(fetch("/large"), test::patternBody(test::largeBodySize));
}

TEST_P(BothFetchers, endlessBodyStopsAtTheLimitAndGivesNothing) {
    EXPECT_TRUE(fetch("/endless").empty());
}

TEST_P(BothFetchers, stalledServerIsGivenUp) {
    ShortTimeouts shortTimeouts;
    request.timeoutSeconds = -1; // the request object keeps its own, shortened, timeouts
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(fetch("/stall").empty());
    // The server would answer after 20 seconds.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_P(BothFetchers, cancelledWorkerStopsTheTransfer) {
    currentCancelToken = std::make_shared<CancelToken>();
    std::thread stopper([token = currentCancelToken] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        token->cancelled = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(fetch("/stall").empty());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    stopper.join();
    currentCancelToken.reset();
}

TEST_P(BothFetchers, gzipIsDecodedOnlyWhenAskedAndDecodable) {
    GzipCodec codec;
    setSharedGzipCodec(&codec);
    EXPECT_EQ(fetch("/gzip", "Accept-Encoding: gzip"), toBytes("zipped text"));
    EXPECT_EQ(server.lastRequest().header("Accept-Encoding"), "gzip");
    EXPECT_EQ(fetch("/gzip"), test::gzipped("zipped text"));
    EXPECT_EQ(server.lastRequest().header("Accept-Encoding"), std::nullopt);
    EXPECT_EQ(fetch("/not-gzip", "Accept-Encoding: gzip"), toBytes("plain"));
    setSharedGzipCodec(nullptr);
}

TEST_P(BothFetchers, untrustedCertificateIsRefused) {
    test::TestHttpsServer https("secret");
    request.url = https.url("/");
    EXPECT_TRUE(GetParam()(request).empty());
}

TEST_P(BothFetchers, proxyCarriesTheRequest) {
    test::TinyProxy proxy;
    request.proxy = proxy.address();
    EXPECT_EQ(fetch("/echo"), toBytes("echo"));
    const std::optional<Text> via = server.lastRequest().header("Via");
    ASSERT_TRUE(via.has_value());
    EXPECT_NE(find(*via, "tinyproxy"), -1);
}

INSTANTIATE_TEST_SUITE_P(WinInetAndCom, BothFetchers, ::testing::Values(&fetchWinInet, &fetchCom),
                         [](const auto& info) { return info.index == 0 ? "WinInet" : "Com"; });

} // namespace
} // namespace quorvel
