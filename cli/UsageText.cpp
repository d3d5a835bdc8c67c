#include "cli/CommandLine.h"

QString UsageText()
{
    return QStringLiteral(R"usage(Usage: kestrune-cli [SOURCE] COMMAND [ARGS]
Looks up OBIS codes of DLMS/COSEM meters in an OBIS database.

SOURCE (at most one; without one, the built-in database):
  --csv DIR          load DIR/0.csv .. DIR/9.csv (definition files, one per media)
  --workbook FILE    import an object-definition workbook (.xlsx or .xls)
  --db FILE          read a ciphered database container
  --plain-db FILE    read a plain database stream
  -v                 write the load's progress lines to stderr

COMMANDS:
  search [-A V] [-B V] [-C V] [-D V] [-E V] [-F V] [--hex] [--code CODE] [--media A[-B]]
         [--text TEXT] [--raw] [--json]
      List the definitions that cover the given fields and contain the words of TEXT.
      V is decimal or $ and hexadecimal digits (with --hex: hexadecimal digits only).
      --code sets all six fields at once; -A..-F override single fields.
      TEXT: words that must occur, -word for words that must not, "a phrase" in double quotes.
      --raw prints one result line per definition instead of the display blocks.
  describe [--media A[-B]] [--json] CODE...
      The description of each code. One code: its description alone; several codes: one
      line each, "A.B.C.D.E.F: description". A code that cannot be read or looked up is
      reported on stderr, the others are still described, and the exit status is 1.
  annotate [--media A[-B]] [--json] [FILE...]
      Reads meter readouts (standard input without FILE, or for "-") and prints every line
      as it stands; below each line that carries a code, indented, the full code and its
      description (or what is wrong), the text a hexadecimal text value spells, and for the
      "!XXXX" line of a P1 telegram whether its CRC holds; the exit status is 1 when a code
      could not be read or a CRC does not hold. Readouts: P1 telegrams (DSMR
      2.2 to 5 and their Belgian and Luxembourg variants), IEC 62056-21 data blocks
      ("1.8.0(0012345.6*kWh)", framing characters tolerated) and SML text dumps
      ("1-0:1.8.0*255#1234.5#Wh", "01 00 01 08 00 ff").
  words [--json]     every word of the database, one per line
  save FILE [--plain]
      write the database as a ciphered container (with --plain: the plain stream)
  --help, --version

CODE, as meters and documents write it (blanks around it are ignored):
  1.0.1.8.0.255      A.B.C.D.E.F, leading zeros allowed
  1-0:1.8.0*255      A-B:C.D.E*F, also with &F or .F; after * or & F may be two
                     hexadecimal digits (*FF)
  1-0:1.8.1          A-B:C.D.E or A-B:C.D, a reduced code: F is 255 and a missing E is 0
  1.8.0  F.F  C.1.0  C.D.E or C.D (with *F if given) as IEC 62056-21 readouts print them:
                     A and B come from --media (default 1-0, electricity); the letters C,
                     F, L and P in groups C and D stand for 96, 97, 98 and 99, and a code
                     whose group C is such a letter is a general-purpose object of media 0
                     (C.1.0 is 0.0.96.1.0.255, F.F is 0.0.97.97.0.255)
  0100010800FF       12 hexadecimal digits, also "01 00 01 08 00 FF", "01:00:...", "0x..."
--media A[-B]: A (and B, default 0) of the codes written without them, e.g. 7 for gas.

JSON (--json): one document on stdout.
  search    {"count": N, "definitions": [{"media": A, "line": N, "patterns": {"A": "1", ...,
            "F": "255"}, "texts": ["...", ...], "ic": "3" or null, "altIc": ..., "types": ...}]}
  describe  [{"input": "1-0:1.8.1", "code": "1.0.1.8.1.255", "description": "..."}, ...];
            a code that failed has "error": "..." instead of a description (and "code": null
            when it could not be read)
  words     ["word", ...]
  annotate  [{"line": N, "text": "...", "code": "A.B.C.D.E.F" or null, "description": "..."
            or null, "values": [{"value": "...", "unit": "..." or null}], "error": "..."}, ...]
            one object per line that carries a code or a CRC; "error" only where the code
            could not be read or described; a value that spells a text has "text"; the CRC
            line has "crc": {"written": "XXXX", "computed": "XXXX", "holds": true|false}; with
            FILEs each object also has "file"
Exit status: 0 success, 1 a load or lookup error, 2 a usage error.
)usage");
}
