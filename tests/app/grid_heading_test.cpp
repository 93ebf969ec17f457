// The grids' headings keep their letters whole in 15-pixel rows, whatever the style's margins.
#include "app/grid_heading_style.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QTableView>
#include <QTest>

using namespace lexorant;

namespace {

const QString kHeading = QStringLiteral("Pump");

bool Dark(QRgb pixel) { return qGray(pixel) < 128; }

// Rows of the image, between left and right, that hold some of the text's ink; a row dark across
// most of that width is a line of the heading's frame, not text.
int InkRows(const QImage& image, int top, int bottom, int left, int right) {
    int rows = 0;
    for (int y = top; y < bottom; ++y) {
        int dark = 0;
        for (int x = left; x < right; ++x)
            dark += Dark(image.pixel(x, y)) ? 1 : 0;
        if (dark > 0 && dark < (right - left) * 3 / 4)
            ++rows;
    }
    return rows;
}

// The ink height of the text drawn with room to spare.
int UnclippedInkRows(const QFont& font) {
    QImage image(200, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 200, 60), Qt::AlignLeft | Qt::AlignVCenter, kHeading);
    painter.end();
    return InkRows(image, 0, image.height(), 0, QFontMetrics(font).horizontalAdvance(kHeading));
}

} // namespace

class GridHeadingTest : public QObject {
    Q_OBJECT

private slots:
    void rowHeadingKeepsItsLetters_data() {
        QTest::addColumn<QString>("style");
        QTest::newRow("Windows") << QStringLiteral("Windows");
        QTest::newRow("Fusion") << QStringLiteral("Fusion");
    }

    void rowHeadingKeepsItsLetters() {
        QFETCH(QString, style);
        QApplication::setStyle(QStyleFactory::create(style));
        QStandardItemModel model(1, 1);
        model.setVerticalHeaderLabels({kHeading});
        QTableView grid;
        QFont font = grid.font();
        font.setPixelSize(11);
        grid.setFont(font);
        grid.setModel(&model);
        QHeaderView* rows = grid.verticalHeader();
        rows->setMinimumSectionSize(1);
        rows->setDefaultSectionSize(15);
        rows->setSectionResizeMode(QHeaderView::Fixed);
        rows->setFixedWidth(100);
        rows->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        KeepHeadingTextsWhole(*rows);
        grid.resize(300, 100);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        const QImage image = rows->grab().toImage();
        const int top = rows->sectionViewportPosition(0);
        QCOMPARE(InkRows(image, top, top + 15, 1, 60), UnclippedInkRows(rows->font()));
    }
};

QTEST_MAIN(GridHeadingTest)
#include "grid_heading_test.moc"
