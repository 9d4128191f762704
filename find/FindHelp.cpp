#include "FindOptions.h"

namespace hv::find {

std::string helpText() {
    return "Usage: halvorine-find [OPTIONS] TEXT PATH...\n"
           "Lists the layers of Photoshop documents (PSD, PSB) whose names contain TEXT.\n"
           "\n"
           "PATH is a document or a folder. A folder is walked with all its sub-folders,\n"
           "level by level, for the files named *.psd and *.psb, skipping what adding a\n"
           "folder in the window skips (names beginning with '~', hidden files that are\n"
           "not read-only, folders whose names hold control characters or '?').\n"
           "\n"
           "Matching (a name contains TEXT; an empty name never matches):\n"
           "  -i, --ignore-case         letters match whatever their case (the default)\n"
           "  -c, --match-case          letters match only in the same case\n"
           "      --text-content        also search the text of type layers\n"
           "      --ext LIST            walk folders for *.EXT for each EXT of the comma-\n"
           "                            separated LIST (default psd,psb; '*' for every file)\n"
           "\n"
           "Output (in walk order, then layer order, as each document is read):\n"
           "      --format FORMAT       text (default): PATH<TAB>NAME per matching layer,\n"
           "                              with a third field 'text' when only the layer's\n"
           "                              text matched\n"
           "                            tsv: a header line, then path, index, name, group,\n"
           "                              kind, match; \\\\, TAB, LF and CR written as \\\\,\n"
           "                              \\t, \\n and \\r\n"
           "                            csv: the same columns, RFC 4180 (CRLF, quotes)\n"
           "                            json: one object per line with \"path\", \"index\",\n"
           "                              \"name\", \"group\" (array), \"kind\", \"match\"\n"
           "                            'match' is \"name\", or \"text\" when only the text of\n"
           "                            a type layer matched; index counts from 1, topmost\n"
           "                            first, groups included\n"
           "  -l, --files-with-matches  only the path of each document with a match\n"
           "      --count               PATH<TAB>N for each document read\n"
           "  -0, --null                write a NUL after each path instead of the TAB or\n"
           "                            newline (text format, -l, --count); paths are then\n"
           "                            written exactly as they are\n"
           "In text, -l and --count, control characters in paths and names are written as\n"
           "\\t, \\n, \\r or \\xNN, and a backslash as \\\\.\n"
           "\n"
           "Running:\n"
           "  -j, --jobs N              read up to N documents at once (default "
           + std::to_string(kDefaultJobs)
           + "; 1 reads\n"
             "                            one after the other)\n"
             "      --strict              exit with 2 whenever a document could not be read\n"
             "      --no-cache            read every document, neither using nor filling the\n"
             "                            layer cache (also HALVORINE_CACHE=off)\n"
             "      --help                show this help and exit\n"
             "      --version             show the version and exit\n"
             "\n"
             "A document or folder that cannot be read gives one line 'PATH: reason' on the\n"
             "error output, and the search goes on. A progress line is shown there when it is\n"
             "a terminal.\n"
             "\n"
             "Exit status: 0 when a layer matched, 1 when none did, 2 when something could not\n"
             "be read and nothing matched (with --strict: whenever something could not be\n"
             "read), or on a usage error.\n";
}

std::string versionText() {
    return "halvorine-find " HALVORINE_VERSION "\n";
}

} // namespace hv::find
