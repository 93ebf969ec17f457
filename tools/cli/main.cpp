#include "lexorant_version.h"
#include "tools/cli/commands.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const kUsage =
    "Usage: lexorant-cli COMMAND ...\n"
    "       lexorant-cli --help | --version\n"
    "\n"
    "  read PORT [--baud RATE|auto] [--output FILE | --autosave] [--trace TRACE] [--fresh]\n"
    "       [--wait MINUTES]\n"
    "      Reads the serial number and every G-Info and X-Info entry of the unit on PORT\n"
    "      (COM1..COM15, mapped as the window maps them, or a device path) and writes the\n"
    "      \".inf\" file: to FILE, to the autosave name \"O:\\geraete\\Lexorant\\<serial>_NN.inf\",\n"
    "      or to \"<serial>.inf\" in the working directory. RATE: 1200, 2400, 4800, 9600\n"
    "      (default) or 19200; auto tries the others when the unit does not answer at 9600.\n"
    "      Progress and errors go to standard error; the file name to standard output.\n"
    "      When the unit cannot be identified, a second line says why (\"(no answer within\n"
    "      2000 ms)\", ...). --trace writes every exchange to TRACE: time in ms, direction,\n"
    "      the bytes as hex and as text, and how each answer ended.\n"
    "      Every entry read is kept at once in \"<serial>.partial\" in the state folder\n"
    "      ($XDG_STATE_HOME/brenno-lexorant, default ~/.local/state/brenno-lexorant) until\n"
    "      the file is written. When the line is lost (it hangs up, or 10 entries in a row\n"
    "      bring no answer) the read stops; run the same command again and it continues\n"
    "      where it stopped, asking only for the entries not yet read. --fresh starts anew.\n"
    "      On a terminal, or with --wait MINUTES at most that long, a read whose line is lost\n"
    "      waits for the unit to come back on PORT and goes on by itself.\n"
    "      Exit codes: 0 every entry read, 3 file written but some entries failed,\n"
    "      4 the line was lost (the read can be continued), 2 the unit could not be\n"
    "      identified, 1 port, file or trace unusable.\n"
#ifndef _WIN32
    "\n"
    "  ports\n"
    "      Lists COM1..COM15: the device each maps to, whether it exists and can be opened\n"
    "      now (free, busy, permission denied), and the vendor, product and serial number\n"
    "      of a USB adapter; below it, the adapter's stable name under /dev/serial/by-id/\n"
    "      and the ln command that links the port to it.\n"
#endif
    "\n"
    "  show FILE [--block G|X] [--format tsv|csv|json]\n"
    "      Prints one block of a \".inf\" file (default G), one line per entry, with the\n"
    "      texts of the window's grid and the message text. FILE may be a kept, partial\n"
    "      read-out (\"<serial>.partial\"): entries not yet read are empty lines.\n"
    "\n"
    "  message CODE\n"
    "      Prints the message text for a message code as the grids show it (\"-4\", \"0\").\n"
    "\n"
    "  summary PATH... [--format tsv|csv|json] [--by-file]\n"
    "      Sums up the messages of many read-outs (\".inf\" files, folders searched for\n"
    "      \"*.inf\"): one line per message code, most frequent first, or with --by-file one\n"
    "      line per read-out (\"partial\" in its Damaged column for a kept read-out). Exit\n"
    "      code 3 when a file could not be read (it is skipped).\n"
    "\n"
    "  compare [OLD] NEW [--block G|X] [--gone] [--format tsv|csv|json]\n"
    "      Prints, as show prints them, the entries of NEW that OLD does not hold (default\n"
    "      G-Info), or with --gone those of OLD that NEW no longer holds; standard error\n"
    "      gets the counts of each block (new, known, gone, empty). Entries match by their\n"
    "      bytes, wherever they stand. Without OLD: the unit's previous autosave read-out\n"
    "      beside NEW (\"<serial>_NN.inf\", the highest number below NEW's).\n"
#ifdef LEXORANT_WITH_EXPORT
    "\n"
    "  export PATH... --output DIR [--jobs N] [--prune]\n"
    "      Lays read-outs (\".inf\" files, kept read-outs, folders searched for \"*.inf\") out\n"
    "      as a dataset for analytics engines: DIR/g_info/serial=SERIAL/*.csv.gz and\n"
    "      DIR/x_info/... with a row per entry that is in, DIR/read_outs/*.csv.gz with a row\n"
    "      per read-out (gzip-compressed CSV). Only new and changed read-outs are exported\n"
    "      again; --prune removes the tables of read-outs no longer named or gone. --jobs:\n"
    "      read-outs at a time (default: one per core). Exit code 3 when a file could not be\n"
    "      read (it is skipped), 1 when DIR cannot be written or another export holds it.\n"
#endif
#ifdef LEXORANT_WITH_CHART
    "\n"
    "  chart FILE --output NAME.png|NAME.svg [--size WxH] [--series Setpoint,TI,...] [--by-entry]\n"
    "      Draws the temperatures of the X-Info entries of a \".inf\" file as a picture (default\n"
    "      1200x700; Setpoint, TI and TR unless --series names others), over the entries' time\n"
    "      stamps or, with --by-entry, over the entry numbers. No display is needed.\n"
#endif
#ifdef LEXORANT_WITH_REPORT
    "\n"
    "  report FILE --output NAME.pdf [--since OLD]\n"
    "      Writes a service report of a \".inf\" file as PDF (A4): the read-out's facts, its\n"
    "      messages (faults first, most frequent first), the temperature chart and every\n"
    "      fault entry in time order. No display is needed. --since adds what changed\n"
    "      since the unit's earlier read-out OLD (as compare counts it): new and gone\n"
    "      entries, the new fault entries and the codes new altogether.\n"
#endif
    ;

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        lexorant::PrintVersion("lexorant-cli");
        return 0;
    }
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    const std::string command = argv[1];
    const lexorant::cli::Arguments args(argv + 2, argv + argc);
    for (const auto& a : args) {
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    if (command == "read")
        return lexorant::cli::Read(args);
    if (command == "show")
        return lexorant::cli::Show(args);
    if (command == "message")
        return lexorant::cli::Message(args);
    if (command == "summary")
        return lexorant::cli::Summary(args);
    if (command == "compare")
        return lexorant::cli::Compare(args);
#ifdef LEXORANT_WITH_EXPORT
    if (command == "export")
        return lexorant::cli::Export(args);
#endif
#ifndef _WIN32
    if (command == "ports")
        return lexorant::cli::Ports(args);
#endif
#ifdef LEXORANT_WITH_CHART
    if (command == "chart")
        return lexorant::cli::Chart(args);
#endif
#ifdef LEXORANT_WITH_REPORT
    if (command == "report")
        return lexorant::cli::Report(args);
#endif
    std::fprintf(stderr, "lexorant-cli: unknown command '%s'\n\n%s", command.c_str(), kUsage);
    return 1;
}
