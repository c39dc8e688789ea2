// Files of the tests, among them the kept list of the test prefix, which is
// removed so that every test of the main window begins with a first start.
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

std::wstring KeptPath() { return KeptFolder() + L"\\Entries.txt"; }

std::string FileBytes(const std::wstring &path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    std::string bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[65536];
    for (DWORD got = 0; ReadFile(file, chunk, sizeof chunk, &got, NULL) && got > 0;)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::wstring &path, const std::string &bytes)
{
    SHCreateDirectoryExW(NULL, path.substr(0, path.rfind(L'\\')).c_str(), NULL);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
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
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..") &&
            wcscmp(found.cFileName, L"Entries.txt.lock"))
            names.push_back(found.cFileName);
    FindClose(search);
    return names;
}

void DeleteKeptList()
{
    std::wstring folder = KeptFolder();
    for (const std::wstring &name : KeptFolderFiles())
        if (!DeleteFileW((folder + L"\\" + name).c_str()))
            RemoveDirectoryW((folder + L"\\" + name).c_str());
    if (!RemoveDirectoryW(folder.c_str()))
        DeleteFileW(folder.c_str()); // a file where the folder should be
    RemoveDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str());
}

std::string KeptRows()
{
    std::string bytes = FileBytes(KeptPath()), rows;
    for (size_t start = bytes.find("\r\n"); start != std::string::npos && start + 2 < bytes.size();) {
        size_t end = bytes.find("\r\n", start + 2);
        rows += bytes.substr(start + 2, end - start - 2) + "\n";
        start = end;
    }
    for (char &c : rows)
        c = c == '\t' ? '|' : c;
    return rows;
}

std::string ListRows()
{
    std::string rows;
    for (int row = 0; row < RowCount(); row++)
        rows += RowTexts(row) + "\n";
    return rows;
}
