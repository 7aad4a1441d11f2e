#include "web/FileDownload.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "text/CodePage.h"
#include "text/GbkLiteral.h"
#include "web/CurlLibrary.h"
#include "web/UrlParts.h"
#include "web/WebRequest.h"

namespace quorvel {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto progressInterval = std::chrono::milliseconds(100);

struct Transfer {
    std::FILE* file = nullptr;
    int writeErrno = 0;
    std::int64_t written = 0;
    const std::atomic<bool>* cancel = nullptr;
    const std::function<void(const DownloadProgress&)>* progress = nullptr;
    Clock::time_point started = Clock::now();
    Clock::time_point lastReport{};
    DownloadProgress last;
};

Text systemError(int error) {
    return utf8ToGbk(std::strerror(error));
}

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    size_t bytes = size * count;
    if (std::fwrite(data, 1, bytes, t->file) != bytes) {
        t->writeErrno = errno ? errno : EIO;
        return 0; // aborts the transfer with a write error
    }
    t->written += static_cast<std::int64_t>(bytes);
    return bytes;
}

void report(Transfer& t) {
    double seconds = std::chrono::duration<double>(Clock::now() - t.started).count();
    t.last.bytesPerSecond = seconds > 0 ? static_cast<double>(t.last.doneBytes) / seconds : 0;
    if (*t.progress) (*t.progress)(t.last);
}

int onProgress(void* user, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (t->cancel->load(std::memory_order_acquire)) return 1; // aborts the transfer
    t->last.doneBytes = done;
    t->last.totalBytes = total > 0 ? total : -1;
    auto now = Clock::now();
    if (now - t->lastReport >= progressInterval) {
        t->lastReport = now;
        report(*t);
    }
    return 0;
}

struct CurlDeleter {
    void operator()(CURL* c) const { curlApi().easy_cleanup(c); }
};

CURLcode runTransfer(const Text& url, Transfer& transfer, char* errorText, long& status) {
    const CurlFunctions* lib = curlLibrary();
    if (!lib) {
        std::snprintf(errorText, CURL_ERROR_SIZE, "libcurl is not available");
        return CURLE_FAILED_INIT;
    }
    std::unique_ptr<CURL, CurlDeleter> curl(lib->easy_init());
    if (!curl) return CURLE_FAILED_INIT;
    CURL* c = curl.get();
    lib->easy_setopt(c, CURLOPT_URL, url.c_str());
    lib->easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    lib->easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    lib->easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    lib->easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    lib->easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    lib->easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    lib->easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 15L);
    lib->easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    lib->easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    lib->easy_setopt(c, CURLOPT_USERAGENT, defaultUserAgent().c_str());
    lib->easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    lib->easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    lib->easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    lib->easy_setopt(c, CURLOPT_XFERINFOFUNCTION, onProgress);
    lib->easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    lib->easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    CURLcode code = lib->easy_perform(c);
    lib->easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    return code;
}

DownloadResult failure(const Text& reason) {
    return {false, false, reason};
}

DownloadResult transferOutcome(CURLcode code, const Transfer& t, const char* errorText,
                               long status) {
    if (code == CURLE_OK) return {true, false, {}};
    if (code == CURLE_ABORTED_BY_CALLBACK) return {false, true, {}};
    if (code == CURLE_HTTP_RETURNED_ERROR)
        return failure("服务器返回错误状态：HTTP "_gbk + toText(static_cast<int>(status)));
    if (code == CURLE_WRITE_ERROR && t.writeErrno)
        return failure("写入文件失败："_gbk + systemError(t.writeErrno));
    Text detail = *errorText ? Text(errorText) : Text(curlApi().easy_strerror(code));
    return failure("网络错误："_gbk + detail);
}

// Closes the .part file and gives it the target's name, or reports why that failed.
DownloadResult finishFile(Transfer& t, const std::string& part, const std::string& target) {
    int error = 0;
    if (std::fflush(t.file) != 0) error = errno;
    if (std::fclose(t.file) != 0 && !error) error = errno;
    t.file = nullptr;
    if (error) return failure("写入文件失败："_gbk + systemError(error));
    if (std::rename(part.c_str(), target.c_str()) != 0)
        return failure("无法保存文件："_gbk + systemError(errno));
    return {true, false, {}};
}

} // namespace

std::string partFilePath(const std::string& targetPath) {
    return targetPath + ".part";
}

DownloadResult downloadFile(const Text& url, const std::string& targetPath,
                            const std::function<void(const DownloadProgress&)>& progress,
                            const std::atomic<bool>& cancel) {
    if (!isWebAddress(url)) return failure("只能下载 http 或 https 地址"_gbk);
    std::string part = partFilePath(targetPath);
    Transfer transfer;
    transfer.cancel = &cancel;
    transfer.progress = &progress;
    transfer.file = std::fopen(part.c_str(), "wb");
    if (!transfer.file) return failure("无法创建文件："_gbk + systemError(errno));

    char errorText[CURL_ERROR_SIZE] = {};
    long status = 0;
    CURLcode code = runTransfer(url, transfer, errorText, status);
    DownloadResult result = transferOutcome(code, transfer, errorText, status);
    if (result.ok) {
        transfer.last.doneBytes = transfer.written;
        transfer.last.totalBytes = transfer.written;
        report(transfer);
        result = finishFile(transfer, part, targetPath);
    }
    if (transfer.file) std::fclose(transfer.file);
    if (!result.ok) std::remove(part.c_str());
    return result;
}

} // namespace quorvel
