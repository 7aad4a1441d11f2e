#include "cli/HitTable.h"

#include <algorithm>

#include "text/CodePage.h"

namespace quorvel {

namespace {

// The hit's five fields (GBK), with tabs and line ends blanked so every hit stays one line.
std::vector<Text> fields(const SearchHit& hit, size_t number) {
    std::vector<Text> row = {toText(static_cast<std::int64_t>(number)), hit.fileName, hit.fileHash,
                             hit.hqFileHash, hit.sqFileHash};
    for (Text& field : row)
        std::replace_if(
            field.begin(), field.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; },
            ' ');
    return row;
}

std::vector<std::vector<Text>> rows(const std::vector<SearchHit>& hits) {
    std::vector<std::vector<Text>> all;
    for (size_t i = 0; i < hits.size(); ++i)
        all.push_back(fields(hits[i], i + 1));
    return all;
}

// A GBK character of two bytes takes two terminal columns, so bytes are columns.
std::string alignedLine(const std::vector<Text>& row, const std::vector<size_t>& widths) {
    Text line;
    for (size_t column = 0; column < row.size(); ++column) {
        const size_t pad = widths[column] - row[column].size();
        if (column == 0) line += Text(pad, ' '); // numbers are right-aligned
        line += row[column];
        if (column > 0) line += Text(pad, ' ');
        line += "  ";
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return gbkToUtf8(line) + "\n";
}

} // namespace

std::string hitTable(const std::vector<SearchHit>& hits) {
    const std::vector<Text> header = {"#", "File name", "128K", "HQ", "SQ"};
    const auto all = rows(hits);
    std::vector<size_t> widths;
    for (const Text& title : header)
        widths.push_back(title.size());
    for (const auto& row : all)
        for (size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    std::string table = alignedLine(header, widths);
    for (const auto& row : all)
        table += alignedLine(row, widths);
    return table;
}

std::string hitTsv(const std::vector<SearchHit>& hits) {
    std::string lines;
    for (const auto& row : rows(hits)) {
        Text line;
        for (size_t column = 0; column < row.size(); ++column)
            line += (column ? "\t" : "") + row[column];
        lines += gbkToUtf8(line) + "\n";
    }
    return lines;
}

} // namespace quorvel
