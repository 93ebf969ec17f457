#pragma once
// The window's read-out: the document every view of the window follows, its changes as Qt signals.
#include "readout/read_out.h"

#include <QObject>

#include <functional>

namespace lexorant {

class ReadOutSignals : public QObject, private ReadOutFollower {
    Q_OBJECT
public:
    explicit ReadOutSignals(QObject* parent = nullptr);
    ~ReadOutSignals() override;

    const ReadOut& Document() const { return readOut_; }
    ReadOut& Document() { return readOut_; }

signals:
    void replaced();
    void entriesArrived(lexorant::InfoBlock block, qsizetype first, qsizetype count);
    void stateChanged();
    void renamed();

private:
    void ReadOutReplaced() override { emit replaced(); }
    void EntriesArrived(InfoBlock block, std::size_t first, std::size_t count) override {
        emit entriesArrived(block, static_cast<qsizetype>(first), static_cast<qsizetype>(count));
    }
    void ReadOutStateChanged() override { emit stateChanged(); }
    void ReadOutRenamed() override { emit renamed(); }

    ReadOut readOut_;
};

// Shows the entry in its grid as a click on its cell would (the grid's current row kept, the message
// row at first). The message the status bar then shows is MessageTextOfEntry (records/entry_message.h).
using EntrySelector = std::function<void(EntryRef entry)>;

} // namespace lexorant
