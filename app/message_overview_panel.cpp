#include "app/message_overview_panel.h"

#include "app/hint_router.h"
#include "app/message_overview_model.h"
#include "app/shown_comparison.h"
#include "platform/decimal_separator.h"
#include "records/entry_message.h"

#include <QAction>
#include <QCheckBox>
#include <QDockWidget>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace lexorant {

namespace {

class MessageOverviewPanel : public QObject {
public:
    MessageOverviewPanel(QMainWindow& window, QMenu& analysis, ReadOutSignals& readOut, EntrySelector select,
                         const ShownComparison& comparison)
        : QObject(&window), window_(window), readOut_(readOut), select_(std::move(select)),
          comparison_(comparison) {
        auto* item = new QAction(QStringLiteral("&Messages"), &analysis);
        item->setObjectName(QStringLiteral("miMessages"));
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
        item->setStatusTip(QStringLiteral("Show every message of the entries with its counts"));
        const QList<QAction*> items = analysis.actions();
        analysis.insertAction(items.isEmpty() ? nullptr : items.front(), item);
        connect(item, &QAction::triggered, this, [this] { Open(); });
        timer_.setSingleShot(true);
        connect(&timer_, &QTimer::timeout, this, [this] { Update(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The window offers no menu of its docks: without the panel a right click there shows nothing.
        if (watched == &window_ && event->type() == QEvent::ContextMenu)
            return true;
        if (watched == filter_ && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
            FocusList();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Open() {
        if (!dock_)
            Build();
        dock_->show();
        dock_->raise();
        FocusList();
    }

    void FocusList() {
        view_->setFocus(Qt::ShortcutFocusReason);
        if (!view_->currentIndex().isValid() && proxy_->rowCount() > 0)
            view_->setCurrentIndex(proxy_->index(0, 0));
    }

    void Build() {
        dock_ = new QDockWidget(QStringLiteral("Messages"), &window_);
        dock_->setObjectName(QStringLiteral("dwMessages"));
        auto* contents = new QWidget(dock_);
        auto* layout = new QVBoxLayout(contents);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(2);
        filter_ = new QLineEdit(contents);
        filter_->setObjectName(QStringLiteral("edMessageFilter"));
        filter_->setPlaceholderText(QStringLiteral("Filter by code or text"));
        filter_->setClearButtonEnabled(true);
        filter_->installEventFilter(this);
        view_ = new QTableView(contents);
        view_->setObjectName(QStringLiteral("tvMessages"));
        since_ = new QLabel(contents);
        since_->setObjectName(QStringLiteral("lbSince"));
        newOnly_ = new QCheckBox(QStringLiteral("New only"), contents);
        newOnly_->setObjectName(QStringLiteral("cbNewOnly"));
        since_->hide();
        newOnly_->hide();
        layout->addWidget(since_);
        layout->addWidget(newOnly_);
        layout->addWidget(filter_);
        layout->addWidget(view_);
        dock_->setWidget(contents);

        model_ = new MessageOverviewModel(this);
        proxy_ = new MessageFilterModel(this);
        proxy_->setSourceModel(model_);
        proxy_->SortByFrequency();
        view_->setModel(proxy_);
        view_->setSelectionBehavior(QAbstractItemView::SelectRows);
        view_->setSelectionMode(QAbstractItemView::SingleSelection);
        view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view_->setTabKeyNavigation(false); // Tab leaves the list
        view_->setWordWrap(false);
        view_->verticalHeader()->hide();
        view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 4);
        QHeaderView* header = view_->horizontalHeader();
        header->setStretchLastSection(true);
        header->setSectionsClickable(true);
        header->setHighlightSections(false);
        const std::array<int, MessageOverviewModel::kColumns - 2> widths = {52, 72, 48, 48, 118, 118};
        for (std::size_t c = 0; c < widths.size(); ++c)
            header->resizeSection(static_cast<int>(c), widths[c]);
        // "New" stands before the text, which takes the rest of the width; it is there only while comparing.
        header->moveSection(MessageOverviewModel::NewColumn, MessageOverviewModel::TextColumn);
        header->resizeSection(MessageOverviewModel::NewColumn, 48);
        view_->setColumnHidden(MessageOverviewModel::NewColumn, true);
        connect(newOnly_, &QCheckBox::toggled, this, [this](bool on) { proxy_->SetNewOnly(on); });
        connect(&comparison_, &ShownComparison::changed, this, [this] {
            comparisonChanged_ = true;
            Schedule();
        });
        connect(header, &QHeaderView::sectionClicked, this, [this](int section) { SortBy(section); });
        connect(filter_, &QLineEdit::textChanged, proxy_, &MessageFilterModel::SetFilterText);
        connect(filter_, &QLineEdit::returnPressed, this, [this] { FocusList(); });
        connect(view_, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
            if (index.isValid())
                Activate(proxy_->mapToSource(index).row());
        });

        window_.addDockWidget(Qt::RightDockWidgetArea, dock_);
        window_.resizeDocks({dock_}, {600}, Qt::Horizontal);
        window_.installEventFilter(this);

        connect(&readOut_, &ReadOutSignals::replaced, this, [this] {
            rebuild_ = true;
            Schedule();
        });
        connect(&readOut_, &ReadOutSignals::entriesArrived, this,
                [this](InfoBlock block, qsizetype first, qsizetype count) {
                    for (qsizetype i = first; i < first + count; ++i)
                        arrived_.push_back(EntryRef{block, static_cast<std::uint16_t>(i)});
                    Schedule();
                });
        rebuild_ = true;
        Update();
    }

    void SortBy(int section) {
        Qt::SortOrder order = Qt::AscendingOrder;
        if (section == sortColumn_)
            order = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        sortColumn_ = section;
        sortOrder_ = order;
        QHeaderView* header = view_->horizontalHeader();
        header->setSortIndicatorShown(true);
        header->setSortIndicator(section, order);
        proxy_->sort(section, order);
    }

    // Many entries arriving at once (a read, an opened file) reach the list in one go.
    void Schedule() {
        if (!timer_.isActive())
            timer_.start(0);
    }

    void Update() {
        const ReadOut& readOut = readOut_.Document();
        if (rebuild_) {
            rebuild_ = false;
            model_->Clear();
            lastCode_.reset();
            arrived_.clear();
            readOut.Entries().ForEach([this](EntryRef entry) { arrived_.push_back(entry); });
        }
        // Entries in the order they came: the G-Info block, then the X-Info block.
        for (const EntryRef& entry : arrived_)
            model_->Add(readOut.Store(), entry);
        arrived_.clear();
        model_->Publish();
        if (std::exchange(comparisonChanged_, false))
            ShowComparison();
    }

    void ShowComparison() {
        const bool on = comparison_.Active();
        since_->setText(comparison_.SinceLine());
        since_->setVisible(on);
        newOnly_->setVisible(on);
        if (!on)
            newOnly_->setChecked(false);
        view_->setColumnHidden(MessageOverviewModel::NewColumn, !on);
        if (on)
            model_->SetNewCounts([this](std::int16_t code) {
                // Until the panel catches up, a comparison that has just ended counts nothing.
                return comparison_.Active() ? comparison_.Comparison().NewCountOf(code) : std::size_t{0};
            });
        else
            model_->SetNewCounts({});
        proxy_->SetNewOnly(on && newOnly_->isChecked());
    }

    void Activate(int sourceRow) {
        const MessageRow& row = model_->Overview().Rows()[static_cast<std::size_t>(sourceRow)];
        std::vector<EntryRef> places = model_->Overview().Occurrences(static_cast<std::size_t>(sourceRow));
        if (places.empty())
            return;
        // While comparing, the code's new entries come first, each part in its own order.
        std::stable_partition(places.begin(), places.end(),
                              [this](const EntryRef& entry) { return comparison_.IsNew(entry); });
        next_ = lastCode_ == row.code ? (next_ + 1) % places.size() : 0;
        lastCode_ = row.code;
        const EntryRef entry = places[next_];

        // The entry's message shows in the status bar now, and again whenever the pointer rests on the
        // panel.
        select_(entry);
        const QString text = QString::fromStdString(
            MessageTextOfEntry(readOut_.Document().Data(), entry, UserDecimalSeparator()));
        SetHint(dock_, text);
        window_.statusBar()->showMessage(text);
    }

    QMainWindow& window_;
    ReadOutSignals& readOut_;
    EntrySelector select_;
    const ShownComparison& comparison_;
    QDockWidget* dock_ = nullptr;
    QLabel* since_ = nullptr;
    QCheckBox* newOnly_ = nullptr;
    bool comparisonChanged_ = true;
    QLineEdit* filter_ = nullptr;
    QTableView* view_ = nullptr;
    MessageOverviewModel* model_ = nullptr;
    MessageFilterModel* proxy_ = nullptr;
    QTimer timer_;
    bool rebuild_ = true;
    std::vector<EntryRef> arrived_;        // entries in since the list was last brought up to date
    std::optional<std::int16_t> lastCode_; // the code activated last, and which of its entries
    std::size_t next_ = 0;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace

void AddMessageOverviewMenu(QMainWindow& window, QMenu& analysis, ReadOutSignals& readOut,
                            EntrySelector select, const ShownComparison& comparison) {
    new MessageOverviewPanel(window, analysis, readOut, std::move(select), comparison);
}

} // namespace lexorant
