#include "service/SongSearch.h"

#include "app/toolkit/Toolkit.h"
#include "service/Endpoints.h"
#include "text/GbkLiteral.h"
#include "text/TextBetween.h"
#include "text/UrlCodec.h"
#include "web/FetchWinInet.h"
#include "json/JsonDocument.h"

namespace quorvel {

namespace {

const Text callbackName = "jQuery1910026785707623246724_1490845878865";

Text searchUrl(const Text& encodedKeyword) {
    return concat(Text("http://"), searchHost(), Text("/song_search_v2?callback="), callbackName,
                  Text("&keyword="), encodedKeyword,
                  Text("&page=1&pagesize=40&userid=-1&clientver=&platform=WebFilter&tag=em"
                       "&filter=2&iscorrection=1&privilege_filter=0&_=1490845878887"));
}

// The answer's body up to its first NUL, as it came (UTF-8).
Text fetchAnswer(const Text& url) {
    WebRequest request;
    request.url = url;
    request.method = 0;
    return textInBytes(fetchWinInet(request));
}

// The JSON object inside the JSONP wrapper. The cut at "}})" drops the object's closing braces,
// which are put back.
Text unwrapJsonp(const Text& answer) {
    return textBetween(answer, callbackName + "(", "}})") + "}}";
}

// A raw FileName decoded from UTF-8 and stripped of the highlight tags.
Text cleanFileName(const Text& rawName) {
    return replace(replace(urlDecode(rawName, true), "<em>"), "<\\/em>");
}

SearchHit readHit(const JsonDocument& document, int index) {
    const Text prefix = concat(Text("data.lists["), toText(index), Text("]."));
    auto raw = [&](const char* field) { return document.getValue(prefix + field); };
    return {cleanFileName(raw("FileName")), raw("FileHash"), raw("HQFileHash"), raw("SQFileHash")};
}

void addHitRow(const SearchHit& hit) {
    const int row = toolkit().insertRow();
    toolkit().setCell(row, 0, hit.fileName);
    toolkit().setCell(row, 1, hit.fileHash);
    toolkit().setCell(row, 2, hit.hqFileHash);
    toolkit().setCell(row, 3, hit.sqFileHash);
}

} // namespace

Text fetchSearchAnswer(const Text& keyword) {
    return fetchAnswer(searchUrl(urlEncode(keyword, true, true)));
}

std::vector<SearchHit> searchHits(const Text& answer) {
    JsonDocument document;
    document.parse(unwrapJsonp(answer));
    std::vector<SearchHit> hits;
    const int count = document.getCount("data.lists");
    for (int i = 0; i < count; ++i)
        hits.push_back(readHit(document, i));
    return hits;
}

void runSearch() {
    toolkit().deleteAllRows();
    toolkit().writeText(WindowId::Main, ControlId::Window, "正在搜索，请稍等。。。"_gbk);
    const Text keyword = toolkit().readText(WindowId::Main, ControlId::KeywordBox);
    if (currentThreadCancelled()) return;
    const Text answer = fetchSearchAnswer(keyword);
    if (currentThreadCancelled()) return;
    for (const SearchHit& hit : searchHits(answer)) {
        if (currentThreadCancelled()) return;
        addHitRow(hit);
    }
    toolkit().writeText(WindowId::Main, ControlId::SearchButton, "搜索"_gbk);
    toolkit().setEnabled(WindowId::Main, ControlId::KeywordBox, true);
    toolkit().writeText(WindowId::Main, ControlId::Window, "搜索完毕。。。"_gbk);
}

} // namespace quorvel
