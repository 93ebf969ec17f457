#include "tools/cli/commands.h"
#include "platform/port_survey.h"

#include <cstdio>

namespace lexorant::cli {

int Ports(const Arguments& args) {
    if (!args.empty()) {
        std::fprintf(stderr, "lexorant-cli ports: unexpected argument '%s'\n", args.front().c_str());
        return 1;
    }
    for (const PortReport& report : SurveyPorts())
        std::printf("%s\n", DescribePort(report).c_str());
    return 0;
}

} // namespace lexorant::cli
