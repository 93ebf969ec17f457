#include "link/identification.h"

#include "link/port_commands.h"
#include "link/protocol.h"
#include "link/serial_port.h"
#include "link/wire_trace.h"

#include <system_error>

namespace lexorant {

namespace {

// The answer as it can be quoted on one line: without its final CR LF, other line ends escaped.
std::string Quoted(std::string_view answer) {
    if (answer.size() >= 2 && answer.substr(answer.size() - 2) == "\r\n")
        answer.remove_suffix(2);
    constexpr std::size_t kShown = 40;
    std::string quoted;
    for (const char c : answer.substr(0, kShown))
        quoted += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    if (answer.size() > kShown)
        quoted += "...";
    return quoted;
}

std::string RejectedAnswerReason(const Exchanged& exchanged, std::string_view prefix) {
    switch (exchanged.end) {
    case ExchangeEnd::NotOpen:
        return "(no port open)";
    case ExchangeEnd::WriteFailed:
        return "(write failed: " + std::generic_category().message(exchanged.error) + ")";
    case ExchangeEnd::Cancelled:
        return "(cancelled)";
    case ExchangeEnd::HungUp:
        return "(the line hung up)";
    case ExchangeEnd::CountReached:
    case ExchangeEnd::TimedOut:
        break;
    }
    const std::string count = std::to_string(exchanged.answer.size());
    switch (ClassifyAnswer(exchanged.answer, prefix)) {
    case AnswerFault::Empty:
        return "(no answer within " + std::to_string(exchanged.timeout.count()) + " ms)";
    case AnswerFault::NoLineEnd:
        return "(answered " + count + " bytes without CR LF)";
    case AnswerFault::WrongPrefix:
        return "(answer '" + Quoted(exchanged.answer) + "' has the wrong prefix)";
    case AnswerFault::NotAnAnswer:
    case AnswerFault::None: // accepted bytes on a line that ended badly cannot reach here
        break;
    }
    return "(answered " + count + " bytes that are no valid answer: wrong bit rate?)";
}

} // namespace

std::optional<std::string> Identification::SerialNumber() {
    if (!port_.IsOpen()) {
        Fail(kNoPortText, {});
        return std::nullopt;
    }
    port_.Exchange(kFlushRequest, kSerialAnswerLimit);
    const Exchanged answer = port_.Exchange(kSerialRequest, kSerialAnswerLimit);
    auto serial = ParseSerialAnswer(answer.answer);
    if (!serial)
        Fail(kNoSerialText, RejectedAnswerReason(answer, "SN "));
    return serial;
}

std::optional<std::string> Identification::SerialNumberAtAnyRate() {
    auto serial = SerialNumber();
    if (serial || !port_.IsOpen())
        return serial;
    const std::string text = failureText_;
    const std::string reason = failureReason_;
    const std::string name = port_.PortName();
    const int given = port_.BitRate();
    for (const int rate : kBitRates) {
        if (rate == given || !port_.OpenPort(name, rate))
            continue;
        if (WireTrace* trace = port_.Trace())
            trace->Note("trying " + std::to_string(rate) + " bit/s");
        serial = ParseSerialAnswer(port_.Exchange(kSerialRequest, kSerialAnswerLimit).answer);
        if (serial)
            return serial;
    }
    port_.OpenPort(name, given);
    failureText_ = text;
    failureReason_ = reason;
    return std::nullopt;
}

std::optional<InfoHeaders> Identification::Headers() {
    InfoHeaders headers;
    for (const char letter : {'G', 'X'}) {
        const Exchanged answer =
            port_.Exchange(letter == 'G' ? kGInfoHeaderRequest : kXInfoHeaderRequest, kHeaderAnswerLimit);
        const auto header = ParseHeaderAnswer(answer.answer, letter);
        if (!header) {
            Fail(letter == 'G' ? kNoGInfoHeaderText : kNoXInfoHeaderText,
                 RejectedAnswerReason(answer, letter == 'G' ? "GI " : "XI "));
            return std::nullopt;
        }
        (letter == 'G' ? headers.g : headers.x) = *header;
    }
    return headers;
}

void Identification::Fail(const char* text, std::string reason) {
    failureText_ = text;
    failureReason_ = std::move(reason);
    if (WireTrace* trace = port_.Trace())
        trace->Note(failureReason_.empty() ? failureText_ : failureText_ + " " + failureReason_);
}

} // namespace lexorant
