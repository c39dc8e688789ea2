/* Fuzz target for the kept list's file and its reader. A mode byte, then a
   list to write (even) or the bytes of a file (odd). Checks:
   - rows as Add and paste make them, numbers with gaps and any next number,
     written as the format says and fed in pieces of any size, read back byte
     for byte, nothing left out, the counter at the next number less one (or
     the largest number); cut anywhere, the file gives exactly the rows whose
     lines lie whole before the cut, and one line left out unless the cut is
     on a line end;
   - any bytes: every row read is a whole line of the file, in order; with the
     first line read, rows, first line and lines left out add up to the
     file's lines; without it, one more is left out at most, never none. */

#include "fuzz_common.h"
#include "keptformat.h"
#include "pastetext.h"

#include <algorithm>
#include <string>
#include <vector>

typedef std::vector<std::string> Rows;

static void Collect(void *rows, const char *line, size_t length, int number)
{
    FUZZ_CHECK(number > 0, "row number %d", number);
    ((Rows *)rows)->push_back(std::string(line, length));
}

/* Reads the bytes in pieces whose sizes come from the input. */
static Rows ReadInPieces(const std::string &file, FuzzInput *in, KeptReader *reader)
{
    Rows found;
    StartKeptReader(reader, Collect, &found);
    for (size_t at = 0; at < file.size();) {
        size_t piece = 1 + TakeByte(in) % 97;
        if (piece > file.size() - at)
            piece = file.size() - at;
        FeedKeptReader(reader, file.data() + at, piece);
        at += piece;
    }
    EndKeptReader(reader);
    return found;
}

/* A time cell as Add or paste makes one: a time typed into a field, left
   and added, or a pasted cell, formatted as the list shows it. */
static std::string TimeCell(FuzzInput *in, ClockLine *line)
{
    static const char CHARS[] = "0123456789.-+*e :APM";
    char text[16] = {0};
    size_t n = TakeByte(in) % 12;
    for (size_t i = 0; i < n; i++)
        text[i] = CHARS[TakeByte(in) % (sizeof CHARS - 1)];
    double hours;
    TimeRules rules = {1, 5, 8, 0.25, 1};
    if (TakeByte(in) & 1)
        hours = AddedTime(EvaluateTimeText(text, &rules)); /* typed, left, added */
    else if (!ReadCellTime(text, n, &rules, line, &hours))
        hours = 0.0;
    char cell[NUMBER_TEXT_SIZE];
    FormatFixed(cell, sizeof cell, hours, 8, 2);
    return cell;
}

static void CheckList(FuzzInput *in)
{
    long long next = 1 + (long long)(TakeBits(in) % (KEPT_NUMBER_MAX + 1LL));
    std::string file = "Hourwise entries\tversion 1\tnext entry " + std::to_string(next) + "\r\n";
    std::vector<std::string> rows;
    std::vector<size_t> ends; /* where each line of the file ends */
    ends.push_back(file.size());
    long long number = 0, largest = 0;
    for (int count = TakeByte(in) % 40; count > 0 && in->pos < in->size; count--) {
        number += 1 + TakeByte(in) % 5;
        if (number > KEPT_NUMBER_MAX)
            break;
        std::string row = std::to_string(number);
        ClockLine line = {-1, 0};
        for (int k = 0; k < 8; k++)
            row += "\t" + TimeCell(in, &line);
        rows.push_back(row);
        file += row + "\r\n";
        ends.push_back(file.size());
        largest = number;
    }

    KeptReader reader;
    Rows found = ReadInPieces(file, in, &reader);
    FUZZ_CHECK(found == rows && reader.leftOut == 0 && reader.nextNumber == next,
               "%zu of %zu rows read back, %lld left out, next %lld of %lld", found.size(),
               rows.size(), reader.leftOut, reader.nextNumber, next);
    long long counter = next - 1 > largest ? next - 1 : largest;
    FUZZ_CHECK(KeptEntryCounter(&reader) == counter, "counter %d, not %lld",
               KeptEntryCounter(&reader), counter);

    size_t cut = (size_t)(TakeBits(in) % (file.size() + 1));
    Rows part = ReadInPieces(file.substr(0, cut), in, &reader);
    size_t whole = (size_t)(std::upper_bound(ends.begin() + 1, ends.end(), cut) - ends.begin() - 1);
    bool onLineEnd = std::find(ends.begin(), ends.end(), cut) != ends.end();
    FUZZ_CHECK(part.size() == whole && std::equal(part.begin(), part.end(), rows.begin()) &&
                   reader.leftOut == (onLineEnd ? 0 : 1),
               "cut at %zu of %zu: %zu rows read, %zu whole, %lld left out", cut, file.size(),
               part.size(), whole, reader.leftOut);
}

static void CheckBytes(FuzzInput *in)
{
    std::string file((const char *)in->data + in->pos, in->size - in->pos);
    in->pos = in->size;
    KeptReader reader;
    FuzzInput pieces = {(const uint8_t *)file.data(), file.size(), 0};
    Rows found = ReadInPieces(file, &pieces, &reader);

    /* the file's lines: up to each LF, without one CR before it; a last
       line without its LF is a line too, and so is an empty file's */
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = file.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(file.substr(start, end - start - (end > start && file[end - 1] == '\r')));
    long long torn = start < file.size() || file.empty() ? 1 : 0;
    size_t line = 0;
    for (const std::string &row : found) {
        while (line < lines.size() && lines[line] != row)
            line++;
        FUZZ_CHECK(line < lines.size(), "a row that is no whole line: %s", row.c_str());
        line++;
    }
    long long header = reader.nextNumber > 0 ? 1 : 0;
    long long counted = (long long)found.size() + header + reader.leftOut;
    long long all = (long long)lines.size() + torn;
    FUZZ_CHECK(header ? counted == all : counted - all <= 1 && counted >= all && reader.leftOut > 0,
               "%zu rows, %lld first line, %lld left out of %zu lines (%lld torn)", found.size(),
               header, reader.leftOut, lines.size(), torn);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput in = {data, size, 0};
    if (TakeByte(&in) & 1)
        CheckBytes(&in);
    else
        CheckList(&in);
    return 0;
}
