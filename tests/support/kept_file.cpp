// The kept list of the test prefix: its file read, written and removed, so
// that every test of the main window begins with a first start.
#include "harness.h"

#include <shlobj.h>

std::wstring KeptFolder()
{
    PWSTR local = NULL;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, NULL, &local)))
        folder = std::wstring(local) + L"\\Quillfeather Systems Inc\\Hourwise";
    CoTaskMemFree(local);
    return folder;
}

std::wstring KeptPath()
{
    return KeptFolder() + L"\\Entries.txt";
}

std::string FileBytes(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "(none)";
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::wstring &path, const std::string &bytes)
{
    SHCreateDirectoryExW(NULL, path.substr(0, path.rfind(L'\\')).c_str(), NULL);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
    ASSERT_EQ(bytes.size(), written);
}

std::vector<std::wstring> KeptFolderFiles()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((KeptFolder() + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L".."))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void DeleteKeptList()
{
    std::wstring folder = KeptFolder();
    for (const std::wstring &name : KeptFolderFiles()) {
        std::wstring path = folder + L"\\" + name;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(path.c_str()))
            RemoveDirectoryW(path.c_str());
    }
    if (!RemoveDirectoryW(folder.c_str()))
        DeleteFileW(folder.c_str()); // a file where the folder should be
    RemoveDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str());
}

std::string KeptRows()
{
    std::string bytes = FileBytes(KeptPath()), rows;
    size_t start = bytes.find("\r\n");
    for (start = start == std::string::npos ? bytes.size() : start + 2; start < bytes.size();) {
        size_t end = bytes.find("\r\n", start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        for (char &c : line)
            if (c == '\t')
                c = '|';
        rows += (rows.empty() ? "" : "\n") + line;
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    return rows;
}

std::string ListRows()
{
    std::string rows;
    for (int row = 0; row < RowCount(); row++)
        rows += (row ? "\n" : "") + RowTexts(row);
    return rows;
}
