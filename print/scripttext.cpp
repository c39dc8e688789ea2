/* Texts of the page in any script. A text whose every character the selected
   sheet font has a glyph for is drawn whole with that font, as it always was.
   Any other text is drawn in pieces: each run of characters that the sheet
   font lacks goes to a font of the same height and weight that has them (the
   faces Windows ships for the script first, then any installed font), the
   rest stays in the sheet font. Uniscribe splits the text into runs of one
   direction and puts the pieces in reading order, so a right-to-left name
   reads right to left in its place; the system shapes joining and combining
   letters as it draws each piece, and every piece is measured as shaped. */

#include "print.h"

#include <usp10.h>
#include <string.h>
#include <wchar.h>

/* The scripts that have faces of their own on Windows. */
enum FallbackScript {
    SCRIPT_OTHER, SCRIPT_ARABIC, SCRIPT_HEBREW, SCRIPT_THAI, SCRIPT_DEVANAGARI,
    SCRIPT_HANGUL, SCRIPT_KANA, SCRIPT_HAN, FALLBACK_SCRIPT_COUNT
};

#define PREFERRED_FACE_COUNT 3

static const WCHAR *const PreferredFaces[FALLBACK_SCRIPT_COUNT][PREFERRED_FACE_COUNT] = {
    {L"Segoe UI", L"Arial", NULL},                              /* Latin, Greek, Cyrillic, ... */
    {L"Segoe UI", L"Arial", NULL},                              /* Arabic */
    {L"Segoe UI", L"Arial", NULL},                              /* Hebrew */
    {L"Leelawadee UI", NULL, NULL},                             /* Thai */
    {L"Nirmala UI", NULL, NULL},                                /* Devanagari */
    {L"Malgun Gothic", NULL, NULL},                             /* Hangul */
    {L"Yu Gothic", L"Microsoft YaHei", NULL},                   /* Japanese kana */
    {L"Microsoft YaHei", L"Yu Gothic", L"Malgun Gothic"},       /* Han */
};

static int ScriptOf(WCHAR c)
{
    if ((c >= 0x0600 && c <= 0x06FF) || (c >= 0x0750 && c <= 0x077F) ||
        (c >= 0x08A0 && c <= 0x08FF) || (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF))
        return SCRIPT_ARABIC;
    if ((c >= 0x0590 && c <= 0x05FF) || (c >= 0xFB1D && c <= 0xFB4F))
        return SCRIPT_HEBREW;
    if (c >= 0x0E00 && c <= 0x0E7F)
        return SCRIPT_THAI;
    if ((c >= 0x0900 && c <= 0x097F) || (c >= 0xA8E0 && c <= 0xA8FF))
        return SCRIPT_DEVANAGARI;
    if ((c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) ||
        (c >= 0xA960 && c <= 0xA97F) || (c >= 0xAC00 && c <= 0xD7FF))
        return SCRIPT_HANGUL;
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF65 && c <= 0xFF9F))
        return SCRIPT_KANA;
    if ((c >= 0x2E80 && c <= 0x2FDF) || (c >= 0x3000 && c <= 0x303F) || (c >= 0x3400 && c <= 0x4DBF) ||
        (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFF64))
        return SCRIPT_HAN;
    return SCRIPT_OTHER;
}

/* Whether the selected font lacks a glyph of the text; unknown says what a
   font whose glyphs cannot be asked for counts as. The glyphs (SHEET_TEXT_UNITS)
   are left with 0xFFFF for each character the font lacks. */
static int SelectedFontMisses(HDC dc, const WCHAR *text, int length, int unknown, WORD *glyphs)
{
    if (length > SHEET_TEXT_UNITS ||
        GetGlyphIndicesW(dc, text, length, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
        return unknown;
    for (int i = 0; i < length; i++)
        if (glyphs[i] == 0xFFFF)
            return 1;
    return 0;
}

/* Selects the sheet font with another face (same height, weight and
   style); gives the font to delete after, NULL when the sheet font stays (no
   face, or the font could not be made or selected). */
static HFONT SelectFaceFont(HDC dc, const LOGFONTW *sheet, const WCHAR *face, HGDIOBJ *previous)
{
    *previous = NULL;
    if (!face[0])
        return NULL;
    LOGFONTW made = *sheet;
    wcsncpy(made.lfFaceName, face, LF_FACESIZE - 1);
    made.lfFaceName[LF_FACESIZE - 1] = 0;
    made.lfCharSet = DEFAULT_CHARSET;
    HFONT font = CreateFontIndirectW(&made);
    HGDIOBJ old = font ? SelectObject(dc, font) : NULL;
    if (!Selected(old)) {
        if (font)
            DeleteObject(font);
        return NULL;
    }
    *previous = old;
    return font;
}

/* Whether the font of the face that the system gives has every glyph of the
   text (GetGlyphIndicesW, not the system's font linking, decides). */
static int FaceCovers(HDC dc, const LOGFONTW *sheet, const WCHAR *face, const WCHAR *text,
                      int length)
{
    HGDIOBJ previous;
    WORD glyphs[SHEET_TEXT_UNITS];
    HFONT font = SelectFaceFont(dc, sheet, face, &previous);
    int covers = font && !SelectedFontMisses(dc, text, length, 1, glyphs);
    RestoreFont(dc, font, previous);
    return covers;
}

struct FaceSearch {
    HDC dc;
    const LOGFONTW *sheet;
    const WCHAR *text;
    int length;
    WCHAR tried[LF_FACESIZE];   /* families come once per character set */
    WCHAR *face;                /* LF_FACESIZE units: the face found */
};

static int CALLBACK TryFamily(const LOGFONTW *font, const TEXTMETRICW *metrics, DWORD type,
                              LPARAM context)
{
    (void)metrics;
    FaceSearch *search = (FaceSearch *)context;
    if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == L'@' ||
        wcsncmp(search->tried, font->lfFaceName, LF_FACESIZE) == 0)
        return 1;
    wcsncpy(search->tried, font->lfFaceName, LF_FACESIZE - 1);
    if (!FaceCovers(search->dc, search->sheet, font->lfFaceName, search->text, search->length))
        return 1;
    wcsncpy(search->face, font->lfFaceName, LF_FACESIZE - 1);
    return 0;
}

/* The faces chosen for the texts of a job: the header repeats its texts on
   every page, and a search of every installed font is done once a text. */
#define FACE_CHOICE_COUNT 16

struct FaceChoice {
    int length;                      /* 0: unused */
    int script;
    WCHAR text[SHEET_TEXT_UNITS];
    WCHAR face[LF_FACESIZE];         /* "": none has the glyphs */
};

static FaceChoice FaceChoices[FACE_CHOICE_COUNT];
static int NextFaceChoice;

void ForgetScriptFaces(void)
{
    memset(FaceChoices, 0, sizeof FaceChoices);
    NextFaceChoice = 0;
}

/* Puts in face the first of the script's preferred faces, else the first
   installed font, that has every glyph of the text; "" when none has them
   (the text then stays in the sheet font). */
static void ChooseFace(HDC dc, const LOGFONTW *sheet, const WCHAR *text, int length, int script,
                       WCHAR face[LF_FACESIZE])
{
    for (int i = 0; i < FACE_CHOICE_COUNT; i++) {
        const FaceChoice *choice = &FaceChoices[i];
        if (choice->length == length && choice->script == script &&
            wmemcmp(choice->text, text, length) == 0) {
            wcsncpy(face, choice->face, LF_FACESIZE);
            return;
        }
    }
    face[0] = 0;
    for (int i = 0; i < PREFERRED_FACE_COUNT && !face[0]; i++) {
        const WCHAR *preferred = PreferredFaces[script][i];
        if (preferred && FaceCovers(dc, sheet, preferred, text, length))
            wcsncpy(face, preferred, LF_FACESIZE - 1);
    }
    if (!face[0]) {
        FaceSearch search = {dc, sheet, text, length, {0}, face};
        LOGFONTW all;
        memset(&all, 0, sizeof all);
        all.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExW(dc, &all, TryFamily, (LPARAM)&search, 0);
    }
    face[LF_FACESIZE - 1] = 0;
    FaceChoice *choice = &FaceChoices[NextFaceChoice];
    NextFaceChoice = (NextFaceChoice + 1) % FACE_CHOICE_COUNT;
    choice->length = length;
    choice->script = script;
    wmemcpy(choice->text, text, length);
    wcsncpy(choice->face, face, LF_FACESIZE);
}

/* A piece of the text drawn with one font in one direction. */
struct TextPiece {
    int start, length;
    SCRIPT_ANALYSIS analysis;
    WCHAR face[LF_FACESIZE];   /* "": the sheet font */
    int width;           /* as drawn */
    int rise;            /* from the top of the sheet font to the top of this one */
};

struct TextLayout {
    int count;           /* 0: the text is drawn whole in the sheet font */
    LOGFONTW sheet;      /* the sheet font, whose face the pieces change */
    TextPiece pieces[SHEET_TEXT_UNITS];
    int visual[SHEET_TEXT_UNITS];   /* the pieces from left to right */
};

/* The width of a piece in the selected font as the system shapes it. */
static int PieceWidth(HDC dc, const WCHAR *text, const TextPiece *piece)
{
    const WCHAR *chars = text + piece->start;
    WORD glyphs[SHEET_TEXT_UNITS * 2], clusters[SHEET_TEXT_UNITS];
    SCRIPT_VISATTR attributes[SHEET_TEXT_UNITS * 2];
    int advances[SHEET_TEXT_UNITS * 2];
    GOFFSET offsets[SHEET_TEXT_UNITS * 2];
    SCRIPT_CACHE cache = NULL;
    SCRIPT_ANALYSIS analysis = piece->analysis;
    int glyphCount = 0;
    ABC abc;
    HRESULT result = ScriptShape(dc, &cache, chars, piece->length, SHEET_TEXT_UNITS * 2, &analysis,
                                 glyphs, clusters, attributes, &glyphCount);
    if (result == USP_E_SCRIPT_NOT_IN_FONT) {
        analysis.eScript = SCRIPT_UNDEFINED;
        result = ScriptShape(dc, &cache, chars, piece->length, SHEET_TEXT_UNITS * 2, &analysis,
                             glyphs, clusters, attributes, &glyphCount);
    }
    if (SUCCEEDED(result))
        result = ScriptPlace(dc, &cache, glyphs, glyphCount, attributes, &analysis, advances,
                             offsets, &abc);
    ScriptFreeCache(&cache);
    if (SUCCEEDED(result))
        return abc.abcA + (int)abc.abcB + abc.abcC;
    SIZE size;
    return GetTextExtentPoint32W(dc, chars, piece->length, &size) ? (int)size.cx : 0;
}

/* Splits the text into pieces of one cluster script and one font within the
   runs of one direction; a cluster (a letter and the marks on it) goes whole
   to one font. Gives the number of pieces and the script of each, -1 for the
   sheet font. */
static int SplitText(const WCHAR *text, const WORD *glyphs, const SCRIPT_ITEM *items,
                     int itemCount, TextPiece *pieces, int *scripts)
{
    /* Han beside kana is Japanese: one piece, in a Japanese face */
    int japanese = 0;
    for (int i = 0; i < items[itemCount].iCharPos && !japanese; i++)
        japanese = ScriptOf(text[i]) == SCRIPT_KANA;
    int count = 0;
    for (int item = 0; item < itemCount; item++) {
        int start = items[item].iCharPos, end = items[item + 1].iCharPos;
        SCRIPT_LOGATTR attributes[SHEET_TEXT_UNITS];
        if (FAILED(ScriptBreak(text + start, end - start, &items[item].a, attributes)))
            for (int i = 0; i < end - start; i++)
                attributes[i].fCharStop = 1;
        for (int at = start; at < end;) {
            int next = at + 1;
            while (next < end && !attributes[next - start].fCharStop)
                next++;
            int missing = 0;
            for (int i = at; i < next; i++)
                missing |= glyphs[i] == 0xFFFF;
            int script = missing ? ScriptOf(text[at]) : -1;
            if (script == SCRIPT_HAN && japanese)
                script = SCRIPT_KANA;
            if (at != start && scripts[count - 1] == script) {
                pieces[count - 1].length += next - at;
            } else {
                pieces[count].start = at;
                pieces[count].length = next - at;
                pieces[count].analysis = items[item].a;
                scripts[count++] = script;
            }
            at = next;
        }
    }
    return count;
}

/* Lays the text out in pieces (none when the sheet font draws it whole):
   each piece with its font, measured in it, neighbours of one font and one
   direction drawn as one, and the pieces in reading order. */
static void LayOutText(HDC dc, const WCHAR *text, int length, TextLayout *layout)
{
    layout->count = 0;
    int plain = 1;
    for (int i = 0; i < length && plain; i++)
        plain = text[i] < 0x80;
    LOGFONTW *sheet = &layout->sheet;
    TEXTMETRICW sheetMetrics;
    WORD glyphs[SHEET_TEXT_UNITS];
    /* a font whose glyphs cannot be asked for draws the text as it always did */
    if (plain || !SelectedFontMisses(dc, text, length, 0, glyphs) ||
        !GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof *sheet, sheet) ||
        !GetTextMetricsW(dc, &sheetMetrics))
        return;
    static SCRIPT_ITEM items[SHEET_TEXT_UNITS + 1];
    int itemCount = 0;
    /* a left-to-right line; given, not left NULL, so that Wine too gives the
       blanks between a right-to-left and a left-to-right run to the line */
    SCRIPT_CONTROL control;
    SCRIPT_STATE state;
    memset(&control, 0, sizeof control);
    memset(&state, 0, sizeof state);
    if (FAILED(ScriptItemize(text, length, SHEET_TEXT_UNITS + 1, &control, &state, items, &itemCount)))
        return;
    int scripts[SHEET_TEXT_UNITS];
    int split = SplitText(text, glyphs, items, itemCount, layout->pieces, scripts);

    int count = 0;
    BYTE levels[SHEET_TEXT_UNITS];
    for (int i = 0; i < split; i++) {
        TextPiece piece = layout->pieces[i];
        piece.face[0] = 0;
        if (scripts[i] >= 0)
            ChooseFace(dc, sheet, text + piece.start, piece.length, scripts[i], piece.face);
        HGDIOBJ previous;
        HFONT font = SelectFaceFont(dc, sheet, piece.face, &previous);
        TEXTMETRICW metrics;
        piece.rise = font && GetTextMetricsW(dc, &metrics) ? sheetMetrics.tmAscent - metrics.tmAscent : 0;
        piece.width = PieceWidth(dc, text, &piece);
        RestoreFont(dc, font, previous);
        TextPiece *last = count > 0 ? &layout->pieces[count - 1] : NULL;
        if (last && wcscmp(last->face, piece.face) == 0 &&
            last->analysis.s.uBidiLevel == piece.analysis.s.uBidiLevel) {
            last->length += piece.length;
            last->width += piece.width;
        } else {
            levels[count] = (BYTE)piece.analysis.s.uBidiLevel;
            layout->pieces[count++] = piece;
        }
    }
    if (FAILED(ScriptLayout(count, levels, layout->visual, NULL)))
        for (int i = 0; i < count; i++)
            layout->visual[i] = i;
    layout->count = count;
}

/* Draws (when draw is set) or measures the text from x: the pieces from
   left to right, each in its font, its baseline on the sheet font's.
   Returns the width; 0 when a text drawn whole was drawn. */
static int RunText(HDC dc, int x, int y, const WCHAR *text, int length, int draw)
{
    static TextLayout layout;
    LayOutText(dc, text, length, &layout);
    if (layout.count == 0) {
        SIZE size;
        if (draw)
            TextOutW(dc, x, y, text, length); /* as the sheet always drew it */
        else if (GetTextExtentPoint32W(dc, text, length, &size))
            return (int)size.cx;
        return 0;
    }
    int left = x;
    for (int v = 0; v < layout.count; v++) {
        const TextPiece *piece = &layout.pieces[layout.visual[v]];
        if (draw) {
            HGDIOBJ previous;
            HFONT font = SelectFaceFont(dc, &layout.sheet, piece->face, &previous);
            ExtTextOutW(dc, x, y + piece->rise, 0, NULL, text + piece->start, (UINT)piece->length,
                        NULL);
            RestoreFont(dc, font, previous);
        }
        x += piece->width;
    }
    return x - left;
}

void DrawSheetText(HDC dc, int x, int y, const WCHAR *text, int length)
{
    RunText(dc, x, y, text, length, 1);
}

int SheetTextWidth(HDC dc, const WCHAR *text, int length)
{
    return RunText(dc, 0, 0, text, length, 0);
}
