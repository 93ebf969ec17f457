#include "report/report_pdf.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace lexorant {

namespace {

// A font that has every glyph of the catalogue's German texts on any Debian desktop; the writer
// embeds the subset it uses.
const QString kFontFamily = QStringLiteral("DejaVu Sans");

QString TextOf(const std::string& text) {
    QString q = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // A file name may hold line breaks or other control characters; the page shows them as spaces.
    for (QChar& c : q)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return q;
}

// Where a text of `count` characters, each `advance(i)` wide, breaks into lines no wider than
// `width`: greedy at spaces, and inside a word only where the word alone is wider than a line, so that
// nothing is cut. Returns [begin, end) character ranges without the spaces at the breaks.
template <typename Advance>
std::vector<std::pair<qsizetype, qsizetype>> BreakLines(const QString& text, double width, Advance advance) {
    std::vector<std::pair<qsizetype, qsizetype>> lines;
    const qsizetype n = text.size();
    qsizetype begin = 0;
    while (begin < n && text[begin] == QLatin1Char(' '))
        ++begin;
    while (begin < n) {
        double used = 0;
        qsizetype end = begin, lastSpace = -1;
        while (end < n && (end == begin || used + advance(end) <= width)) {
            if (text[end] == QLatin1Char(' '))
                lastSpace = end;
            used += advance(end);
            ++end;
        }
        if (end < n && lastSpace > begin && text[end] != QLatin1Char(' '))
            end = lastSpace; // back to the last space inside the line
        qsizetype trimmed = end;
        while (trimmed > begin && text[trimmed - 1] == QLatin1Char(' '))
            --trimmed;
        lines.emplace_back(begin, trimmed);
        begin = end;
        while (begin < n && text[begin] == QLatin1Char(' '))
            ++begin;
    }
    if (lines.empty())
        lines.emplace_back(0, 0);
    return lines;
}

// Greedy word wrap through the font's measurements, for the few texts outside the tables.
QStringList Wrap(const QString& text, double width, const QFontMetricsF& metrics) {
    if (metrics.horizontalAdvance(text) <= width)
        return {text};
    QStringList lines;
    for (const auto& [begin, end] :
         BreakLines(text, width, [&](qsizetype i) { return metrics.horizontalAdvance(text[i]); }))
        lines << text.mid(begin, end - begin);
    return lines;
}

// The cells of the tables, measured and drawn glyph by glyph from the font's own advances. They hold
// the grid's numbers and the catalogue's texts, all of which the font has; shaping each of tens of
// thousands of cells would take most of a long report's time.
class CellFont {
public:
    CellFont(const QFont& font, double pixelSize) : raw_(QRawFont::fromFont(font)) {
        raw_.setPixelSize(pixelSize);
    }

    std::vector<QGlyphRun> Lines(const QString& text, double width) const {
        const QList<quint32> glyphs = raw_.glyphIndexesForString(text);
        // One glyph a character, as for every text of the tables; anything else is set as it comes.
        if (glyphs.size() != text.size())
            return {Run(glyphs, 0, glyphs.size())};
        const QList<QPointF> advances = raw_.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
        std::vector<QGlyphRun> lines;
        for (const auto& [begin, end] : BreakLines(text, width, [&](qsizetype i) { return advances[i].x(); }))
            lines.push_back(Run(glyphs, begin, end, &advances));
        return lines;
    }

    const QRawFont& Raw() const { return raw_; }

private:
    QGlyphRun Run(const QList<quint32>& glyphs, qsizetype begin, qsizetype end,
                  const QList<QPointF>* advances = nullptr) const {
        QList<QPointF> ownAdvances;
        if (!advances) {
            ownAdvances = raw_.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
            advances = &ownAdvances;
        }
        QList<QPointF> positions;
        positions.reserve(end - begin);
        double x = 0;
        for (qsizetype i = begin; i < end; ++i) {
            positions.append(QPointF(x, 0));
            x += (*advances)[i].x();
        }
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setGlyphIndexes(glyphs.mid(begin, end - begin));
        run.setPositions(positions);
        return run;
    }

    QRawFont raw_;
};

using Cell = std::vector<QGlyphRun>;

struct PageText {
    const CellFont* font;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

struct Fonts {
    QFont title, heading, body, bold, small;
};

Fonts MakeFonts() {
    auto font = [](double points, bool bold) {
        QFont f(kFontFamily);
        f.setPointSizeF(points);
        f.setBold(bold);
        f.setHintingPreference(QFont::PreferNoHinting); // widths as designed, not rounded to pixels
        return f;
    };
    return {font(16, true), font(11, true), font(8, false), font(8, true), font(7, false)};
}

// The columns of a table and the height of each row; the cells are wrapped anew when drawn, so that a
// long table needs no more memory than its row heights.
struct LaidTable {
    const ReportTable* table = nullptr;
    std::vector<double> x, widths; // left edge and text width of each column
    std::vector<Cell> head;
    double headHeight = 0;
    std::vector<double> heights;
    // Long texts repeat (a code's message in every entry of the code): wrapped once each.
    mutable std::vector<QHash<QString, Cell>> wrapped;
};

class Report {
public:
    Report(QPdfWriter& writer, const ReportContent& content, const ReportChart& chart)
        : writer_(writer), content_(content), chart_(chart), fonts_(MakeFonts()),
          cellFont_(fonts_.body, PixelSize(fonts_.body)), headFont_(fonts_.bold, PixelSize(fonts_.bold)) {
        mm_ = writer.resolution() / 25.4;
        pad_ = 0.8 * mm_;
        width_ = writer.width();
        footerTop_ = writer.height() - 6 * mm_;
        bottom_ = footerTop_ - 3 * mm_;
        lineSpacing_ = QFontMetricsF(fonts_.body, &writer_).lineSpacing();
        ascent_ = QFontMetricsF(fonts_.body, &writer_).ascent();
        labelWidth_ = 0;
        for (const ReportFact& f : content.facts)
            labelWidth_ = std::max(labelWidth_, QFontMetricsF(fonts_.bold, &writer_).horizontalAdvance(TextOf(f.label)));
        if (content.since)
            for (const ReportFact& f : content.since->facts)
                labelWidth_ =
                    std::max(labelWidth_, QFontMetricsF(fonts_.bold, &writer_).horizontalAdvance(TextOf(f.label)));
        labelWidth_ += 4 * mm_;
        // Each column as wide as its heading or the widest text it usually holds; the last one takes
        // the rest. Anything wider still wraps.
        const QString stamp = QStringLiteral("00.00.00 00:00:00");
        overview_ = Lay(content.overview, {QStringLiteral("-32768"), QStringLiteral("Unknown"), QStringLiteral("65535"),
                                           QStringLiteral("65535"), stamp, stamp});
        faults_ = Lay(content.faults, {QStringLiteral("65535"), QStringLiteral("X-Info"), QStringLiteral("00.00.00"),
                                       QStringLiteral("00:00:00"), QStringLiteral("-32768")});
        if (content.since) {
            sinceFaults_ = Lay(content.since->newFaults, {QStringLiteral("65535"), QStringLiteral("X-Info"),
                                                          QStringLiteral("00.00.00"), QStringLiteral("00:00:00"),
                                                          QStringLiteral("-32768")});
            sinceCodes_ = Lay(content.since->newCodes,
                              {QStringLiteral("-32768"), QStringLiteral("Unknown"), QStringLiteral("65535")});
        }
    }

    // Lays out every page; draws them when a painter is given. Returns the number of pages.
    int Run(QPainter* painter, int pages) {
        painter_ = painter;
        pages_ = pages;
        page_ = 1;
        y_ = 0;
        Footer();
        Text(fonts_.title, QStringLiteral("Service report"));
        y_ += 2 * mm_;
        Facts(content_.facts);
        if (content_.since)
            Since();
        Section(QStringLiteral("Messages"), overview_);
        if (content_.overview.rows.empty())
            Text(fonts_.body, QStringLiteral("No entries."));
        if (!content_.moreCodes.empty())
            Text(fonts_.body, TextOf(content_.moreCodes));
        if (content_.hasTemperatures && chart_)
            Chart();
        Section(QStringLiteral("Fault entries"), faults_);
        if (content_.faults.rows.empty())
            Text(fonts_.body, QStringLiteral("No fault entries."));
        return page_;
    }

private:
    double PixelSize(const QFont& font) const { return font.pointSizeF() * writer_.resolution() / 72.0; }

    LaidTable Lay(const ReportTable& table, const std::vector<QString>& widest) {
        LaidTable laid;
        laid.table = &table;
        const QFontMetricsF body(fonts_.body, &writer_);
        const QFontMetricsF bold(fonts_.bold, &writer_);
        double x = 0;
        for (std::size_t c = 0; c < table.headings.size(); ++c) {
            laid.x.push_back(x);
            const double width = c < widest.size() ? std::max(bold.horizontalAdvance(TextOf(table.headings[c])),
                                                              body.horizontalAdvance(widest[c])) + 2 * mm_
                                                   : width_ - x - 2 * pad_;
            laid.widths.push_back(width);
            x += width + 2 * pad_;
        }
        laid.wrapped.resize(laid.widths.size());
        std::size_t headLines = 1;
        for (std::size_t c = 0; c < table.headings.size(); ++c) {
            laid.head.push_back(headFont_.Lines(TextOf(table.headings[c]), laid.widths[c]));
            headLines = std::max(headLines, laid.head.back().size());
        }
        laid.headHeight = RowHeight(headLines);
        laid.heights.reserve(table.rows.size());
        for (const auto& row : table.rows) {
            std::size_t lines = 1;
            for (std::size_t c = 0; c < row.size() && c < laid.widths.size(); ++c)
                lines = std::max(lines, CellOf(laid, c, row[c]).size());
            laid.heights.push_back(RowHeight(lines));
        }
        return laid;
    }

    double RowHeight(std::size_t lines) const { return static_cast<double>(lines) * lineSpacing_ + 2 * pad_; }

    Cell CellOf(const LaidTable& laid, std::size_t column, const std::string& text) const {
        const QString q = TextOf(text);
        if (q.size() <= 12)
            return cellFont_.Lines(q, laid.widths[column]);
        auto& cache = laid.wrapped[column];
        auto it = cache.find(q);
        if (it == cache.end())
            it = cache.insert(q, cellFont_.Lines(q, laid.widths[column]));
        return *it;
    }

    void NewPage() {
        if (painter_) {
            FlushTables();
            writer_.newPage();
        }
        ++page_;
        y_ = 0;
        Footer();
    }

    // Starts a new page unless `height` still fits below.
    bool Ensure(double height) {
        if (y_ + height <= bottom_ || y_ == 0)
            return false;
        NewPage();
        return true;
    }

    void Footer() {
        if (!painter_)
            return;
        painter_->setFont(fonts_.small);
        painter_->setPen(QColor(0x40, 0x40, 0x40));
        const QFontMetricsF small(fonts_.small, &writer_);
        const double baseline = footerTop_ + small.ascent();
        const QString name = TextOf(content_.fileName);
        const QString number = QStringLiteral("Page %1 of %2").arg(page_).arg(pages_);
        const double numberWidth = small.horizontalAdvance(number);
        painter_->drawText(QPointF(0, baseline), small.elidedText(name, Qt::ElideMiddle, width_ - numberWidth - 5 * mm_));
        painter_->drawText(QPointF(width_ - numberWidth, baseline), number);
        painter_->setPen(Qt::black);
    }

    void Lines(const QFont& font, const QStringList& lines, double x) {
        const QFontMetricsF metrics(font, &writer_);
        for (const QString& line : lines) {
            Ensure(metrics.lineSpacing());
            if (painter_) {
                painter_->setFont(font);
                painter_->drawText(QPointF(x, y_ + metrics.ascent()), line);
            }
            y_ += metrics.lineSpacing();
        }
    }

    void Text(const QFont& font, const QString& text) {
        Lines(font, Wrap(text, width_, QFontMetricsF(font, &writer_)), 0);
    }

    void Facts(const std::vector<ReportFact>& facts) {
        const QFontMetricsF body(fonts_.body, &writer_);
        for (const ReportFact& fact : facts) {
            const QStringList value = Wrap(TextOf(fact.value), width_ - labelWidth_, body);
            Ensure(body.lineSpacing() * static_cast<double>(value.size()));
            if (painter_) {
                painter_->setFont(fonts_.bold);
                painter_->drawText(QPointF(0, y_ + body.ascent()), TextOf(fact.label) + QLatin1Char(':'));
            }
            const double top = y_;
            Lines(fonts_.body, value, labelWidth_);
            y_ = std::max(y_, top + body.lineSpacing());
        }
    }

    // `font`: a sub-section's, when not the sections' own.
    void Heading(const QString& text, double keepWith, const QFont* font = nullptr) {
        const QFont& f = font ? *font : fonts_.heading;
        const QFontMetricsF metrics(f, &writer_);
        y_ += 5 * mm_;
        Ensure(metrics.lineSpacing() + 2 * mm_ + keepWith);
        Lines(f, {text}, 0);
        y_ += 1.5 * mm_;
    }

    // Gathers the cell's glyphs into the page's text of that font: one text object a page instead of
    // one a cell keeps a long report's file and time down.
    void DrawCell(const LaidTable& table, std::size_t column, const Cell& cell, PageText& text) {
        double baseline = y_ + pad_ + ascent_;
        for (const QGlyphRun& line : cell) {
            const QPointF origin(table.x[column] + pad_, baseline);
            text.glyphs.append(line.glyphIndexes());
            for (const QPointF& p : line.positions())
                text.positions.append(p + origin);
            baseline += lineSpacing_;
        }
    }

    void TableHead(const LaidTable& table) {
        if (painter_) {
            painter_->fillRect(QRectF(0, y_, width_, table.headHeight), QColor(0xE4, 0xE4, 0xE4));
            for (std::size_t c = 0; c < table.head.size(); ++c)
                DrawCell(table, c, table.head[c], headText_);
        }
        y_ += table.headHeight;
    }

    // The table text and the rules under the rows of a page, drawn at once when the page is done.
    void FlushTables() {
        for (PageText* text : {&headText_, &cellText_}) {
            if (text->glyphs.isEmpty())
                continue;
            QGlyphRun run;
            run.setRawFont(text->font->Raw());
            run.setGlyphIndexes(text->glyphs);
            run.setPositions(text->positions);
            painter_->drawGlyphRun(QPointF(0, 0), run);
            text->glyphs.clear();
            text->positions.clear();
        }
        if (rules_.empty())
            return;
        painter_->setPen(QPen(QColor(0xC8, 0xC8, 0xC8), 0));
        painter_->drawLines(rules_.data(), static_cast<int>(rules_.size()));
        painter_->setPen(Qt::black);
        rules_.clear();
    }

    void Section(const QString& title, const LaidTable& table, const QFont* font = nullptr) {
        const double first = table.heights.empty() ? 0 : table.heights.front();
        Heading(title, table.heights.empty() ? lineSpacing_ : table.headHeight + first, font);
        if (table.heights.empty())
            return;
        TableHead(table);
        const auto& rows = table.table->rows;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (Ensure(table.heights[r]))
                TableHead(table);
            if (painter_) {
                for (std::size_t c = 0; c < rows[r].size() && c < table.widths.size(); ++c)
                    DrawCell(table, c, CellOf(table, c, rows[r][c]), cellText_);
                rules_.emplace_back(0, y_ + table.heights[r], width_, y_ + table.heights[r]);
            }
            y_ += table.heights[r];
        }
        if (painter_)
            FlushTables();
    }

    // What changed since the older read-out: its facts, the new faults, the codes new altogether.
    void Since() {
        const ReportSince& since = *content_.since;
        Heading(QStringLiteral("Since the previous read-out"), lineSpacing_ * static_cast<double>(since.facts.size()));
        Facts(since.facts);
        Section(QStringLiteral("New fault entries"), sinceFaults_, &fonts_.bold);
        if (since.newFaults.rows.empty())
            Text(fonts_.body, QStringLiteral("No new fault entries."));
        Section(QStringLiteral("Codes new altogether"), sinceCodes_, &fonts_.bold);
        if (since.newCodes.rows.empty())
            Text(fonts_.body, QStringLiteral("No new codes."));
    }

    void Chart() {
        const double height = 95 * mm_;
        Heading(QStringLiteral("Temperatures"), height);
        if (painter_) {
            painter_->save();
            chart_(*painter_, QRectF(0, y_, width_, height));
            painter_->restore();
        }
        y_ += height;
    }

    QPdfWriter& writer_;
    const ReportContent& content_;
    const ReportChart& chart_;
    Fonts fonts_;
    CellFont cellFont_, headFont_;
    double mm_ = 1, pad_ = 1, width_ = 1, bottom_ = 1, footerTop_ = 1, labelWidth_ = 0;
    double lineSpacing_ = 1, ascent_ = 1;
    LaidTable overview_, faults_, sinceFaults_, sinceCodes_;
    PageText headText_{&headFont_, {}, {}}, cellText_{&cellFont_, {}, {}};
    std::vector<QLineF> rules_;
    QPainter* painter_ = nullptr;
    int page_ = 1, pages_ = 1;
    double y_ = 0;
};

} // namespace

QByteArray ReportPdf(const ReportContent& content, const ReportChart& chart) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly))
        return {};
    {
        QPdfWriter writer(&buffer);
        // The chart lays itself out in screen pixels; at the screen's resolution it draws as it shows.
        writer.setResolution(96);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(15, 12, 15, 10), QPageLayout::Millimeter));
        writer.setTitle(QStringLiteral("Service report ") + TextOf(content.fileName));
        writer.setCreator(QStringLiteral("Brenno Lexorant"));
        Report report(writer, content, chart);
        const int pages = report.Run(nullptr, 0);
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        report.Run(&painter, pages);
        if (!painter.end())
            return {};
    }
    return bytes;
}

} // namespace lexorant
