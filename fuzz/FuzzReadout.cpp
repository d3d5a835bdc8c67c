// The readout reader over arbitrary bytes: every line of the input comes back once, in order and
// without its line end; a line has a code or an error only where it names a code, and the code is
// what the notation reader makes of the text; a CRC check holds exactly when its sums agree.
#include "fuzz/FuzzCheck.h"
#include "frontend/Readout.h"
#include "support/Exception.h"

namespace {

// Lines end at LF, CR LF or a lone CR; a last line without a line end is a line too.
qsizetype LineCount(const QByteArray& readout)
{
    qsizetype lines = 0;
    for (qsizetype at = 0; at < readout.size(); ++at) {
        if (readout[at] == '\n' || (readout[at] == '\r' && (at + 1 == readout.size() || readout[at + 1] != '\n')))
            ++lines;
    }
    const bool openLastLine = !readout.isEmpty() && !readout.endsWith('\n') && !readout.endsWith('\r');
    return lines + (openLastLine ? 1 : 0);
}

void CheckCode(const TReadoutLine& line, const TMediaGroups& media)
{
    FuzzRequire(!line.CodeText.isEmpty() || (!line.Code && line.Error.isEmpty()),
        "a line that names no code has neither code nor error", line.Text);
    FuzzRequire(!(line.Code && !line.Error.isEmpty()), "a line has a code or an error, not both", line.Text);
    if (!line.Code)
        return;
    try {
        FuzzRequire(ReadCodeNotation(line.CodeText, media) == *line.Code,
            "the code is what the notation reader makes of its text", line.CodeText);
    } catch (const Exception&) {
        FuzzRequire(false, "a code the line carries can be read again", line.CodeText);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray readout(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const TMediaGroups media{7, 1};
    const std::vector<TReadoutLine> lines = ReadReadout(readout, media);
    FuzzRequire(static_cast<qsizetype>(lines.size()) == LineCount(readout), "every line comes back once");
    for (size_t i = 0; i < lines.size(); ++i) {
        const TReadoutLine& line = lines[i];
        FuzzRequire(line.Number == static_cast<int>(i) + 1, "lines are numbered from 1 in order");
        FuzzRequire(!line.Text.contains(u'\n') && !line.Text.contains(u'\r'), "a line holds no line end", line.Text);
        CheckCode(line, media);
        if (line.Crc)
            FuzzRequire(line.Crc->Holds == (line.Crc->Computed == line.Crc->Written),
                "a CRC holds exactly when the sums agree", line.Text);
    }
    return 0;
}
