#include "app/read_out_signals.h"

namespace lexorant {

ReadOutSignals::ReadOutSignals(QObject* parent) : QObject(parent) { readOut_.Follow(*this); }

ReadOutSignals::~ReadOutSignals() { readOut_.Unfollow(*this); }

} // namespace lexorant
