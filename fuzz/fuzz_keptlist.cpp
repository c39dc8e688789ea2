/* Fuzz target for the kept list's file and its reader. A mode byte, then a
   list to write (even) or the bytes of a file (odd). Checks:
   - every list the program can make reads back identical: from any entry
     counter (often near the last number), Adds and pastes numbered on as
     far as the program allows them (which must be up to 999,999,999 and no
     further), some rows deleted, times as Add and paste make them, written
     as the format says and fed in pieces of any size, read back byte for
     byte, nothing left out, the counter as it was; cut anywhere, the file
     gives exactly the rows whose lines lie whole before the cut, and one line
     left out unless the cut is on a line end or at the start (no byte);
   - any bytes: every row read is a whole line of the file, in order, its
     number as "%d" writes one from 1 to 999,999,999 and each of its eight
     cells the "%8.2f" text of the value it reads as (by the C library); a
     byte-order mark before the first line and empty lines at the end do not
     count, and a file of nothing else is an empty list; otherwise, with the
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
    long long counter = TakeByte(in) & 1 ? 999999999 - TakeByte(in) % 64
                                         : (long long)(TakeBits(in) % 1000000000);
    std::vector<std::string> rows;
    for (int changes = TakeByte(in) % 40; changes > 0 && in->pos < in->size; changes--) {
        long long count = TakeByte(in) % 4 ? 1 : 1 + TakeByte(in) % 8; /* an Add or a paste */
        int allowed = EntryNumbersLeft(counter, count);
        FUZZ_CHECK(allowed == (counter + count <= 999999999), "%lld entries after %lld: %d", count,
                   counter, allowed);
        for (; allowed && count > 0; count--) {
            std::string row = std::to_string(++counter);
            ClockLine line = {-1, 0};
            for (int k = 0; k < 8; k++)
                row += "\t" + TimeCell(in, &line);
            if (TakeByte(in) % 5) /* else deleted since */
                rows.push_back(row);
        }
    }
    std::string file = "Hourwise entries\tversion 1\tnext entry " + std::to_string(counter + 1) + "\r\n";
    std::vector<size_t> ends; /* where each line of the file ends */
    ends.push_back(file.size());
    for (const std::string &row : rows) {
        file += row + "\r\n";
        ends.push_back(file.size());
    }

    KeptReader reader;
    Rows found = ReadInPieces(file, in, &reader);
    FUZZ_CHECK(found == rows && reader.leftOut == 0 && reader.nextNumber == counter + 1,
               "%zu of %zu rows read back, %lld left out, next %lld after %lld", found.size(),
               rows.size(), reader.leftOut, reader.nextNumber, counter);
    FUZZ_CHECK(KeptEntryCounter(&reader) == counter, "counter %d, not %lld",
               KeptEntryCounter(&reader), counter);

    size_t cut = (size_t)(TakeBits(in) % (file.size() + 1));
    Rows part = ReadInPieces(file.substr(0, cut), in, &reader);
    size_t whole = (size_t)(std::upper_bound(ends.begin() + 1, ends.end(), cut) - ends.begin() - 1);
    bool onLineEnd = cut == 0 || std::find(ends.begin(), ends.end(), cut) != ends.end();
    FUZZ_CHECK(part.size() == whole && std::equal(part.begin(), part.end(), rows.begin()) &&
                   reader.leftOut == (onLineEnd ? 0 : 1),
               "cut at %zu of %zu: %zu rows read, %zu whole, %lld left out", cut, file.size(),
               part.size(), whole, reader.leftOut);
}

/* A row read is what the list shows: its number as "%d" writes one, and
   each time the "%8.2f" text of the value the C library reads it as. */
static void CheckCells(const std::string &row)
{
    std::vector<std::string> cells(1);
    for (char c : row)
        c == '\t' ? cells.push_back("") : cells.back().push_back(c);
    FUZZ_CHECK(cells.size() == 9, "%zu cells in %s", cells.size(), row.c_str());
    long long number = strtoll(cells[0].c_str(), NULL, 10);
    FUZZ_CHECK(number >= 1 && number <= 999999999 && std::to_string(number) == cells[0],
               "entry number %s", cells[0].c_str());
    for (int k = 1; k <= 8; k++) {
        char shown[64];
        snprintf(shown, sizeof shown, "%8.2f", strtod(cells[k].c_str(), NULL));
        FUZZ_CHECK(cells[k] == shown, "cell %d \"%s\" (%zu bytes) is no \"%s\"", k,
                   cells[k].c_str(), cells[k].size(), shown);
    }
}

static void CheckBytes(FuzzInput *in)
{
    std::string file((const char *)in->data + in->pos, in->size - in->pos);
    in->pos = in->size;
    KeptReader reader;
    FuzzInput pieces = {(const uint8_t *)file.data(), file.size(), 0};
    Rows found = ReadInPieces(file, &pieces, &reader);

    /* the file's lines: up to each LF, without one CR before it, and a last
       one without its LF (torn); not the byte-order mark before the first,
       nor the empty lines at the end */
    std::vector<std::string> lines;
    size_t start = file.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (size_t end; start < file.size(); start = end + 1) {
        end = std::min(file.find('\n', start), file.size());
        lines.push_back(file.substr(start, end - start - (end > start && file[end - 1] == '\r')));
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    if (lines.empty()) {
        FUZZ_CHECK(found.empty() && reader.leftOut == 0 && reader.nextNumber > 0 &&
                       KeptEntryCounter(&reader) == 0,
                   "no line, yet %zu rows, %lld left out, next %lld", found.size(), reader.leftOut,
                   reader.nextNumber);
        return;
    }
    size_t line = 0;
    for (const std::string &row : found) {
        while (line < lines.size() && lines[line] != row)
            line++;
        FUZZ_CHECK(line < lines.size(), "a row that is no whole line: %s", row.c_str());
        line++;
        CheckCells(row);
    }
    long long header = reader.nextNumber > 0 ? 1 : 0;
    long long counted = (long long)found.size() + header + reader.leftOut;
    long long all = (long long)lines.size();
    FUZZ_CHECK(header ? counted == all : counted - all <= 1 && counted >= all && reader.leftOut > 0,
               "%zu rows, %lld first line, %lld left out of %lld lines", found.size(), header,
               reader.leftOut, all);
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
