#include "app/message_overview_panel.h"

#include "app/analysis_menu.h"
#include "app/hint_router.h"
#include "app/message_overview_model.h"
#include "app/tfrm_main.h"

#include <QAction>
#include <QDockWidget>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace lexorant {

namespace {

constexpr int kMessageRow = 3; // row 4 of a grid, below the heading row

class MessageOverviewPanel : public QObject {
public:
    explicit MessageOverviewPanel(TfrmMain& window) : QObject(&window), window_(window) {
        QMenu* analysis = &AnalysisMenu(window);
        auto* item = new QAction(QStringLiteral("&Messages"), analysis);
        item->setObjectName(QStringLiteral("miMessages"));
        item->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
        item->setStatusTip(QStringLiteral("Show every message of the entries with its counts"));
        const QList<QAction*> items = analysis->actions();
        analysis->insertAction(items.isEmpty() ? nullptr : items.front(), item);
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
        const std::array<int, MessageOverviewModel::kColumns - 1> widths = {52, 72, 48, 48, 118, 118};
        for (std::size_t c = 0; c < widths.size(); ++c)
            header->resizeSection(static_cast<int>(c), widths[c]);
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

        for (InfoGridModel* grid : Grids()) {
            connect(grid, &QAbstractItemModel::modelReset, this, [this] {
                rebuild_ = true;
                Schedule();
            });
            connect(grid, &QAbstractItemModel::columnsInserted, this, [this] { Schedule(); });
            connect(grid, &QAbstractItemModel::dataChanged, this, [this] { Schedule(); });
        }
        rebuild_ = true;
        Update();
    }

    std::array<InfoGridModel*, 2> Grids() { return {&window_.GInfoModel(), &window_.XInfoModel()}; }

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
        if (rebuild_) {
            rebuild_ = false;
            model_->Clear();
            consumed_ = {0, 0};
            lastCode_.reset();
        }
        const RecordStore& store = window_.Store();
        const std::array<InfoBlock, 2> blocks = {InfoBlock::GInfo, InfoBlock::XInfo};
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            const InfoGridModel& grid = *Grids()[b];
            const int columns = grid.ColCount();
            // Column n shows entry n-1. A column left empty by a failed entry stays empty once a
            // later entry is shown; the last one may still be waiting for its entry.
            for (int col = consumed_[b] + 1; col < columns; ++col) {
                if (!grid.Cell(col, 0).isEmpty())
                    model_->Add(store, EntryRef{blocks[b], static_cast<std::uint16_t>(col - 1)});
                else if (col == columns - 1)
                    break;
                consumed_[b] = col;
            }
        }
        model_->Publish();
    }

    void Activate(int sourceRow) {
        const MessageRow& row = model_->Overview().Rows()[static_cast<std::size_t>(sourceRow)];
        const std::vector<EntryRef>& places =
            model_->Overview().Occurrences(static_cast<std::size_t>(sourceRow));
        if (places.empty())
            return;
        next_ = lastCode_ == row.code ? (next_ + 1) % places.size() : 0;
        lastCode_ = row.code;
        const EntryRef entry = places[next_];

        const bool gInfo = entry.block == InfoBlock::GInfo;
        if (gInfo)
            window_.miGInfoClick();
        else
            window_.miXInfoClick();
        auto* grid =
            window_.findChild<QTableView*>(gInfo ? QStringLiteral("sgGInfo") : QStringLiteral("sgXInfo"));
        if (!grid)
            return;
        const QModelIndex current = grid->selectionModel()->currentIndex();
        const int gridRow =
            current.isValid() ? current.row() : std::min(kMessageRow, grid->model()->rowCount() - 1);
        const QModelIndex target = grid->model()->index(gridRow, entry.index);
        // A grid's first cell is current from its fill on without having been selected; making it current
        // again changes nothing, so it is selected as a click would select it.
        const bool wasCurrent = current == target;
        grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        if (wasCurrent && gInfo)
            window_.sgGInfoSelectCell(target.column() + 1, target.row() + 1);
        else if (wasCurrent)
            window_.sgXInfoSelectCell(target.column() + 1, target.row() + 1);
        grid->scrollTo(target);
        // The selection gave the grid the message as its hint; the status bar shows it now, and
        // again whenever the pointer rests on the panel.
        const QString text = HintOf(grid);
        SetHint(dock_, text);
        window_.ShowHint(text);
    }

    TfrmMain& window_;
    QDockWidget* dock_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTableView* view_ = nullptr;
    MessageOverviewModel* model_ = nullptr;
    MessageFilterModel* proxy_ = nullptr;
    QTimer timer_;
    bool rebuild_ = true;
    std::array<int, 2> consumed_{};        // grid columns looked at, per block
    std::optional<std::int16_t> lastCode_; // the code activated last, and which of its entries
    std::size_t next_ = 0;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};

} // namespace

void AddMessageOverviewMenu(TfrmMain& window) {
    new MessageOverviewPanel(window);
}

} // namespace lexorant
