// A file written beside its target and moved over it once complete.
#include "imaging/file_replace.h"

#include <algorithm>
#include <string>

#include "base/owned_handle.h"

namespace {

bool writeAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

// The name of the file beside the target for one attempt: "<target>~N.tmp",
// or, where that would pass the longest path the system takes, a name of the
// target's own length in its folder (its last characters replaced), so that
// every target that can be written can also be saved. Empty where the
// attempt's name would be the target's own.
std::string besideName(const std::string& target, int attempt)
{
    const std::string tag = "~" + std::to_string(attempt);
    if (target.size() + tag.size() + 4 < MAX_PATH)
        return target + tag + ".tmp";
    const size_t nameStart = target.find_last_of("\\/:") + 1;  // 0 when there is no folder
    const size_t replaced = std::min(target.size() - nameStart, tag.size());
    const std::string name = target.substr(0, target.size() - replaced) + tag.substr(tag.size() - replaced);
    return lstrcmpiA(name.c_str(), target.c_str()) == 0 ? std::string() : name;
}

// A new file beside the target: a name no file has yet, so that an existing
// file is never opened or truncated here.
HANDLE createBeside(const char* target, std::string& name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = besideName(target, attempt);
        if (name.empty())
            continue;
        const HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// The file beside the target, deleted again at the end of the scope unless
// it took the target's place.
class SiblingFile {
public:
    explicit SiblingFile(const char* target) : file_(createBeside(target, name_)), created_(bool(file_)) {}
    ~SiblingFile()
    {
        file_.close();
        if (created_)
            DeleteFileA(name_.c_str());
    }
    SiblingFile(const SiblingFile&) = delete;
    SiblingFile& operator=(const SiblingFile&) = delete;

    explicit operator bool() const { return created_; }
    HANDLE handle() const { return file_; }
    // Puts its bytes on the disk, closes it and moves it over the target;
    // true when it took the target's place. The move is written through, but
    // only the flush makes the bytes it names survive a power cut.
    bool replace(const char* target)
    {
        if (!FlushFileBuffers(file_) || !file_.close() ||
            !MoveFileExA(name_.c_str(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        created_ = false;
        return true;
    }

private:
    std::string name_;  // before file_, which is made with it
    OwnedFile file_;
    bool created_;
};

}  // namespace

bool ReplaceFileWith(const char* path, const FilePart* parts, size_t count)
{
    if (!path)
        return false;
    SiblingFile file(path);
    if (!file)
        return false;
    for (size_t i = 0; i < count; ++i) {
        if (!writeAll(file.handle(), parts[i].data, parts[i].size))
            return false;
    }
    return file.replace(path);
}
