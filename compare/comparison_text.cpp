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

std::string ComparisonCountsLine(const ReadOutComparison& comparison, InfoBlock block) {
    const ComparisonCounts c = comparison.Counts(block);
    std::string line = BlockName(block) + ": " + Number(c.added) + " new, " + Number(c.known) + " known, " +
                       Number(c.gone) + " gone, " + Number(c.empty) + " empty";
    if (c.notRead > 0)
        line += ", " + Number(c.notRead) + " not read";
    if (c.earlierNotRead > 0)
        line += ", " + Number(c.earlierNotRead) + " not read earlier";
    return line;
}

std::string ComparisonSinceLine(const ReadOutComparison& comparison, std::string_view olderName) {
    return "Since " + NameWithoutFolder(olderName) + ": " +
           Number(comparison.Counts(InfoBlock::GInfo).added) + " new " + BlockName(InfoBlock::GInfo) + ", " +
           Number(comparison.Counts(InfoBlock::XInfo).added) + " new " + BlockName(InfoBlock::XInfo) +
           " entries";
}

} // namespace lexorant
