// Printing through both dialogs to the CUPS PDF queue, and reading the PDF's
// text back with pdftotext.
#include <gtest/gtest.h>

#include "app.h"
#include "print.h"
#include "print_support.h"
#include "harness.h"
#include "resource.h"
#include "settings.h"
#include "timecalc.h"
#include "totals.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

class PrintPdf : public PrintTest {
protected:

    // Prints through the dialogs and gives the text of the PDF that came out,
    // told from the jobs of other runs by the employee name, or by the company
    // name when the employee name is given.
    std::string PrintToPdf(void (*open)() = NULL, const char *name = NULL)
    {
        int lastJob = LastPdfJob();
        std::string marker;
        if (name) {
            employeeName = name;
            marker = UniqueMarker("Scripts Ltd");
            snprintf(AppSettings.CustName, sizeof AppSettings.CustName, "%s", marker.c_str());
        } else {
            employeeName = UniqueMarker("Zo\xC3\xAB \xC5\x81ukasiewicz-W\xC3\xB3jcik");
            marker = "Employee Name: " + employeeName;
        }
        PrintScript script = {"E-1001", employeeName.c_str(), "03/07/2009", IDOK, IDOK};
        PrintRunResult run = RunPrintDialog(script, open);
        EXPECT_TRUE(run.completed);
        EXPECT_TRUE(run.sawPageSetup);
        EXPECT_EQ(run.printDialog, run.pageSetupOwner);
        EXPECT_EQ(open ? -1 : 1, run.dialogResult);
        PrintedPdf pdf = FindPrintedPdf(lastJob, marker);
        return pdf.text;
    }

    std::string employeeName;
};

static std::string Page(const std::string &text, int n)
{
    size_t start = 0;
    for (int i = 1; i < n && start != std::string::npos; i++) {
        start = text.find('\f', start);
        if (start != std::string::npos)
            start++;
    }
    if (start == std::string::npos)
        return "";
    return text.substr(start, text.find('\f', start) - start);
}

TEST_F(PrintPdf, OneEntryPrintsTheWholeTimesheet)
{
    AppendEntryRow({8.00, 12.00, 13.00, 17.50});
    const char *company = "\xC5\x81\xC3\xB3""d\xC5\xBA Caf\xC3\xA9 N\xC3\xB8rd";   // Lodz Cafe Nord, as typed
    snprintf(AppSettings.CustName, sizeof AppSettings.CustName, "%s", company);
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    std::string text = Squeezed(PrintToPdf());
    GetLocalTime(&after);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(1, PageCount(text));

    // the date of the header is the day the job started or the day it ended
    bool dated = false;
    for (const SYSTEMTIME &day : {before, after}) {
        char date[32];
        snprintf(date, sizeof date, "DATE: %02d/%02d/%02d", day.wMonth, day.wDay, day.wYear % 100);
        dated = dated || text.find(date) != std::string::npos;
    }
    EXPECT_TRUE(dated) << text;
    std::string name = "Employee Name: " + employeeName;
    const char *wanted[] = {
        "-- Hourwise 2.2.0 T I M E S H E E T --",
        "TIME: ",
        company,
        "EMPLOYEE ID: E-1001",
        "Period End Date: 03/07/2009",
        name.c_str(),
        "IN 1 OUT 1 IN 2 OUT 2 IN 3 OUT 3 IN 4 OUT 4 TOTAL",
        "8.00 12.00 13.00 17.50 0.00 0.00 0.00 0.00 8.50",
        "TOTAL: 8.50",
        "Page 1",
    };
    for (const char *want : wanted)
        EXPECT_NE(std::string::npos, text.find(want)) << "\"" << want << "\" not in:\n" << text;
    EXPECT_NE(std::string::npos, text.find("Time"));

    // the printed total is the one the main window shows for the same rows
    UpdateGrandTotal();
    EXPECT_EQ("    8.50", ControlText(IDC_GRANDTOTAL));
}

TEST_F(PrintPdf, ALongListFillsThreeNumberedPages)
{
    // the page's capacity from the body font that the job will choose
    HDC dc = CreateDCA(NULL, DefaultPrinterName().c_str(), NULL, NULL);
    ASSERT_TRUE(dc != NULL);
    BodyFontRecord body;
    FitBodyFont(hMainWnd, dc, &body);
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    ReleaseBodyFont(dc, &body);
    int lastLine = GetDeviceCaps(dc, VERTRES) / (metrics.tmHeight + metrics.tmExternalLeading) - 1;
    DeleteDC(dc);
    int capacity = PageCapacity(lastLine);
    int entries = 2 * capacity + 1;
    // an overnight pair: 22.00 to 6.00 counts 16.00 hours
    for (int i = 0; i < entries; i++)
        AppendEntryRow({22.00, 6.00, 0, 0});

    std::string text = PrintToPdf();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(3, PageCount(text));
    for (int n = 1; n <= 3; n++) {
        std::string page = Squeezed(Page(text, n));
        char number[32];
        snprintf(number, sizeof number, "Page %d", n);
        EXPECT_NE(std::string::npos, page.find(number)) << "page " << n << ":\n" << page;
        EXPECT_NE(std::string::npos, page.find("EMPLOYEE ID: E-1001")) << "page " << n;
        int blocks = 0;
        for (size_t at = 0; (at = page.find("22.00 6.00 0.00 0.00 0.00 0.00 0.00 0.00 16.00", at)) !=
                            std::string::npos;
             at++)
            blocks++;
        EXPECT_EQ(n < 3 ? capacity : 1, blocks) << "page " << n;
    }
    char total[32];
    snprintf(total, sizeof total, "TOTAL: %.2f", 16.0 * entries);
    EXPECT_NE(std::string::npos, Squeezed(Page(text, 3)).find(total));
}

// One name with a word in each script that a font of its own prints: every
// word reads back from the PDF's text, once the shaped Arabic letters (read
// back as presentation forms) are made the letters they stand for and the
// marks of direction around right-to-left runs are left out.
TEST_F(PrintPdf, ANameInEveryScriptPrintsEveryWord)
{
    const wchar_t *words[] = {L"\u0418\u0432\u0430\u043d", L"\u0645\u062d\u0645\u062f", L"\u05d3\u05d5\u05d3",
                              L"\u5c71\u7530\u592a\u90ce", L"\uae40\ubbfc\uc900", L"\u0e2a\u0e21\u0e0a\u0e32\u0e22",
                              L"\u0930\u093e\u092e", L"\u0393\u03b9\u03ce\u03c1\u03b3\u03bf\u03c2"};
    std::wstring name;
    for (const wchar_t *word : words)
        name += (name.empty() ? L"" : L" ") + std::wstring(word);
    std::string typed(name.size() * 4 + 1, '\0');
    typed.resize(WideCharToMultiByte(CP_UTF8, 0, name.c_str(), (int)name.size(), &typed[0], (int)typed.size(), NULL, NULL));
    std::string pdf = Squeezed(PrintToPdf(NULL, typed.c_str()));
    std::wstring text(pdf.size() + 1, L'\0'), read(pdf.size() * 4 + 16, L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, pdf.data(), (int)pdf.size(), &text[0], (int)text.size()));
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](wchar_t c) { return (c >= 0x202A && c <= 0x202E) || c == 0x200E || c == 0x200F; }),
               text.end());
    read.resize(std::max(0, NormalizeString(NormalizationKC, text.c_str(), (int)text.size(), &read[0], (int)read.size())));
    for (const wchar_t *word : words)
        EXPECT_NE(std::wstring::npos, read.find(word)) << "a word of \"" << typed << "\" not in:\n" << pdf;
}

static void PressPrint()
{
    Click(hPrintButton);
}

// A week typed into the main window and printed from its Print button: every
// row of the list and the grand total on screen come out on the sheet.
TEST_F(PrintPdf, AWeekEnteredInTheMainWindowPrintsFromThePrintButton)
{
    const char *week[5][4] = {
        {"8", "12", "12.5", "17"},     {"7.5", "11.5", "12", "16.25"}, {"9", "13", "14", "18.75"},
        {"8", "12", "13", "17.5"},     {"22", "6", "0", "0"},
    };
    for (auto &day : week)
        EnterRow({day[0], day[1], day[2], day[3]});
    ASSERT_EQ(5, RowCount());
    std::string grandTotal = ControlText(IDC_GRANDTOTAL);

    PayRules rated = DEFAULT_PAY_RULES, defaults = DEFAULT_PAY_RULES;
    rated.HasRate = 1;
    rated.HourlyRate = 250000;
    CurrentPayRules = rated;
    std::string text = Squeezed(PrintToPdf(PressPrint));
    CurrentPayRules = defaults;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(1, PageCount(text));
    // the pay summary after the total: 50 hours at $25, overtime past 40
    EXPECT_NE(std::string::npos, text.find("TOTAL: 50.00 REGULAR: 40.00 OVERTIME: 10.00 DOUBLE TIME: "
                                           "0.00 RATE: $25.00 GROSS PAY: $1,375.00"))
        << text;
    for (int row = 0; row < 5; row++) {
        double times[8];
        ReadEntryTimes(hEntryList, row, times);
        std::string values;
        for (int k = 1; k <= 8; k++)
            values += Squeezed(CellText(row, k)) + " ";
        char total[NUMBER_TEXT_SIZE];
        FormatFixed(total, sizeof total, RowHours(times), 9, 2);
        values += Squeezed(total);
        EXPECT_NE(std::string::npos, text.find(values)) << values << " not in:\n" << text;
    }
    EXPECT_NE(std::string::npos, text.find("TOTAL: " + Squeezed(grandTotal))) << grandTotal;
    // the overnight pair counts 16.00 hours
    EXPECT_NE(std::string::npos, text.find("22.00 6.00 0.00 0.00 0.00 0.00 0.00 0.00 16.00"));
}
