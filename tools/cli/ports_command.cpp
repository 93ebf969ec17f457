#include "platform/port_survey.h"
#include "tools/cli/commands.h"
#include "tools/cli/option_parser.h"

#include <cstdio>

namespace lexorant::cli {

int Ports(const Arguments& args) {
    if (!OptionParser("ports").Parse(args))
        return 1;
    for (const PortReport& report : SurveyPorts()) {
        std::printf("%s\n", DescribePort(report).c_str());
        if (const std::string stable = DescribeStableName(report); !stable.empty())
            std::printf("%s\n", stable.c_str());
    }
    return 0;
}

} // namespace lexorant::cli
