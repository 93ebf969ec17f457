#include "compare/comparison_text.h"

#include "file/file_naming.h"

namespace lexorant {

namespace {

std::string BlockName(InfoBlock block) {
    return std::string(1, LetterOf(block)) + "-Info";
}

std::string Number(std::size_t n) {
    return std::to_string(n);
}

} // namespace

std::string ComparisonCountsText(const ReadOutComparison& comparison, InfoBlock block) {
    const ComparisonCounts c = comparison.Counts(block);
    std::string text = Number(c.added) + " new, " + Number(c.known) + " known, " + Number(c.gone) +
                       " gone, " + Number(c.empty) + " empty";
    if (c.notRead > 0)
        text += ", " + Number(c.notRead) + " not read";
    if (c.earlierNotRead > 0)
        text += ", " + Number(c.earlierNotRead) + " not read earlier";
    return text;
}

std::string ComparisonCountsLine(const ReadOutComparison& comparison, InfoBlock block) {
    return BlockName(block) + ": " + ComparisonCountsText(comparison, block);
}

std::string ComparisonSinceLine(const ReadOutComparison& comparison, std::string_view olderName) {
    return "Since " + NameWithoutFolder(olderName) + ": " +
           Number(comparison.Counts(InfoBlock::GInfo).added) + " new " + BlockName(InfoBlock::GInfo) + ", " +
           Number(comparison.Counts(InfoBlock::XInfo).added) + " new " + BlockName(InfoBlock::XInfo) +
           " entries";
}

} // namespace lexorant
