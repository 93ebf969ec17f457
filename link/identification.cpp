#include "identification.h"

#include "protocol.h"
#include "serial_port.h"

namespace lexorant {

void FlushLine(SerialPort& port) { port.Exchange(kFlushRequest, kSerialAnswerLimit); }

std::optional<std::string> QuerySerialNumber(SerialPort& port) {
    return ParseSerialAnswer(port.Exchange(kSerialRequest, kSerialAnswerLimit));
}

std::optional<InfoHeader> QueryInfoHeader(SerialPort& port, char letter) {
    const auto request = letter == 'G' ? kGInfoHeaderRequest : kXInfoHeaderRequest;
    return ParseHeaderAnswer(port.Exchange(request, kHeaderAnswerLimit), letter);
}

} // namespace lexorant
