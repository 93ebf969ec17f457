#include "app/grid_heading_style.h"

#include <QApplication>
#include <QHeaderView>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionHeader>

namespace lexorant {

namespace {

// The application's style, but a heading's text has its margin on the left and right only.
class HeadingStyle : public QProxyStyle {
public:
    HeadingStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* heading = qstyleoption_cast<const QStyleOptionHeader*>(option);
        if (element != CE_HeaderLabel || heading == nullptr) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionHeader whole = *heading;
        const int margin = pixelMetric(PM_HeaderMargin, option, widget);
        whole.rect.adjust(0, -margin, 0, margin);
        QProxyStyle::drawControl(element, &whole, painter, widget);
    }
};

} // namespace

void KeepHeadingTextsWhole(QHeaderView& headings) {
    auto* style = new HeadingStyle;
    style->setParent(&headings);
    headings.setStyle(style);
}

} // namespace lexorant
