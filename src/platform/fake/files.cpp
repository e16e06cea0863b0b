// Files and folders in memory, with the rules of Windows that the procedures meet: ".." and
// the blanks and dots that end a path taken away, "*.*" matching names without a dot, folder
// links, busy files, files held open, folders held against deletion, and file identity, which
// follows a file through a move and not its path.
#include "platform/fake/internal.h"

#include <cstring>

namespace platform {
using namespace fake;

namespace {
// Open files, searches and keys are heap records behind the opaque handle.
struct OpenFile {
    enum class Kind { writing, held, identity };
    std::string path;
    Kind kind = Kind::writing;
    uint64_t id = 0;
};
struct Search {
    std::vector<platform::FoundFile> matches;
    size_t next = 0;
};

bool wildcardMatch(const char* pattern, const char* text) {
    if (*pattern == 0) return *text == 0;
    if (*pattern == '*') {
        for (const char* t = text;; ++t) {
            if (wildcardMatch(pattern + 1, t)) return true;
            if (*t == 0) return false;
        }
    }
    return *text && (*pattern == '?' || tolower(*pattern) == tolower(*text)) &&
           wildcardMatch(pattern + 1, text + 1);
}

// Windows takes ".." away before it looks at a path, and the blanks and dots that end its
// last name; listings give names as they are stored.
std::string pathKey(const std::string& path) {
    std::string key = lower(path);
    size_t nameStart = key.rfind('\\') + 1, keep = key.size();
    while (keep > nameStart && (key[keep - 1] == ' ' || key[keep - 1] == '.')) --keep;
    if (keep > nameStart) key.resize(keep);  // a name of dots alone is left as it is
    for (size_t dots; (dots = key.find("\\..")) != std::string::npos;) {
        size_t start = dots == 0 ? std::string::npos : key.rfind('\\', dots - 1);
        if (start == std::string::npos) break;
        key.erase(start, dots + 3 - start);
    }
    return key;
}

// A path below a folder link names the same path below the link's target.
std::string throughLinks(const std::string& key) {
    for (const auto& [link, target] : state().folderLinks)
        if (key == link || key.rfind(link + "\\", 0) == 0)
            return lower(target) + key.substr(link.size());
    return key;
}

uint64_t fileIdOf(const std::string& key) {
    uint64_t& id = state().fileIds[key];
    if (!id) id = ++state().lastFileId;
    return id;
}

// Open elsewhere without sharing, or here sharing reads only: no write, move or delete.
bool inUse(const std::string& key) {
    return state().lockedFiles.count(key) || state().heldFiles.count(key);
}

// Windows checks sharing only between opens that both ask for data access (read, write,
// append, execute or delete): a hold stops a rename or delete, which asks for DELETE, only
// when it asks for data access itself and does not share deletion.
Handle hold(const std::string& key) {
    constexpr uint32_t DATA_ACCESS = 0x1 | 0x2 | 0x4 | 0x20 | 0x10000, SHARE_DELETE = 0x4;
    bool holds = (FOLDER_HOLD_ACCESS & DATA_ACCESS) && !(FOLDER_HOLD_SHARING & SHARE_DELETE);
    if (holds) state().heldFolders.insert(key);
    ++state().open["folder"];
    return new OpenFile{key, holds ? OpenFile::Kind::held : OpenFile::Kind::identity};
}

bool deleteKey(const std::string& key, const std::string& shown) {
    if (inUse(key) || state().busyFiles.count(key) || !state().files.count(key) ||
        deniedToPerson(key))
        return false;
    state().files.erase(key);
    state().fileIds.erase(key);
    log("delete " + shown);
    return true;
}

bool removeEmptyFolder(const std::string& key, const std::string& shown) {
    if (!state().folders.count(key) || state().heldFolders.count(key) || deniedToPerson(key))
        return false;
    std::string prefix = key + "\\";
    for (const auto* entries : {&state().files, &state().folders, &state().folderLinks})
        for (const auto& entry : *entries)
            if (entry.first.rfind(prefix, 0) == 0) return false;
    state().folders.erase(key);
    log("rmdir " + shown);
    return true;
}

Handle openExisting(const char* path, const char* operation, OpenFile::Kind kind) {
    std::string key = throughLinks(pathKey(path));
    bool held = kind == OpenFile::Kind::held;
    if (fails(operation, path) || !state().files.count(key) ||
        (held && state().lockedFiles.count(key)))
        return nullptr;
    if (held) state().heldFiles.insert(key);
    ++state().open["file"];
    return new OpenFile{key, kind, fileIdOf(key)};
}
}  // namespace

FolderResult createFolder(const char* path) {
    std::string key = lower(path);
    if (fails("createFolder", path)) return FolderResult::failed;
    if (state().folders.count(key) || state().files.count(key)) return FolderResult::alreadyExists;
    if (!state().folders.count(lower(parentOf(path)))) return FolderResult::failed;
    state().folders[key] = path;
    log(std::string("mkdir ") + path);
    return FolderResult::created;
}

bool removeFolder(const char* path) {
    std::string key = pathKey(path);
    if (fails("removeFolder", path) || state().heldFolders.count(key)) return false;
    if (state().folderLinks.erase(key)) {  // the link goes, not its target
        log(std::string("unlink ") + path);
        return true;
    }
    return removeEmptyFolder(throughLinks(key), path);
}

Handle openFileForWriting(const char* path) {
    std::string key = lower(path);
    if (fails("openFileForWriting", path) || inUse(key) || state().busyFiles.count(key) ||
        state().folders.count(key) || !state().folders.count(lower(parentOf(path))))
        return nullptr;
    state().files[key].clear();
    ++state().open["file"];
    return new OpenFile{key};
}

bool writeFileOnce(Handle file, const void* data, uint32_t size, uint32_t* written) {
    auto* open = static_cast<OpenFile*>(file);
    if (fails("writeFileOnce", open->path)) return false;
    uint32_t count = size > state().shortWriteBy ? size - state().shortWriteBy : 0;
    state().files[open->path].append(static_cast<const char*>(data), count);
    *written = count;
    log("write " + open->path);
    return true;
}

Handle openFileHeld(const char* path) {
    return openExisting(path, "openFileHeld", OpenFile::Kind::held);
}

Handle openFileIdentity(const char* path) {
    return openExisting(path, "openFileIdentity", OpenFile::Kind::identity);
}

bool sameFile(Handle a, Handle b) {
    return a && b && static_cast<OpenFile*>(a)->id == static_cast<OpenFile*>(b)->id;
}

bool readFileAt(Handle file, uint64_t offset, void* data, uint32_t capacity, uint32_t* read) {
    auto* open = static_cast<OpenFile*>(file);
    *read = 0;
    if (open->kind != OpenFile::Kind::held || fails("readFileAt", open->path)) return false;
    const std::string& content = state().files[open->path];
    if (offset < content.size())
        *read = uint32_t(content.copy(static_cast<char*>(data), capacity, size_t(offset)));
    return true;
}

bool fileSize(Handle file, uint64_t* size) {
    auto* open = static_cast<OpenFile*>(file);
    if (fails("fileSize", open->path)) return false;
    *size = state().files[open->path].size() + state().sizeBeyondContent;
    return true;
}

void closeFile(Handle file) {
    auto* open = static_cast<OpenFile*>(file);
    auto& held = state().heldFiles;
    if (open->kind == OpenFile::Kind::held && held.count(open->path))
        held.erase(held.find(open->path));
    --state().open["file"];
    delete open;
}

bool fileExistsReadable(const char* path) {
    return !fails("fileExistsReadable", path) && fileExists(path);
}

// A link is held as itself; a folder as the folder the path leads to.
Handle holdFolder(const char* path, bool* isLink) {
    std::string key = pathKey(path);
    *isLink = state().folderLinks.count(key) > 0;
    if (!*isLink) key = throughLinks(key);
    if (fails("holdFolder", path) || (!*isLink && !state().folders.count(key))) return nullptr;
    return hold(key);
}

void releaseFolder(Handle folder) {
    auto* open = static_cast<OpenFile*>(folder);
    if (open->kind == OpenFile::Kind::held)
        state().heldFolders.erase(state().heldFolders.find(open->path));
    --state().open["folder"];
    delete open;
}

// Walked one name at a time: a name is looked up below the open folder's own key, never
// through a link, and a link (kept apart from the folders) is no folder to open or delete.
Handle openDriveRoot(char letter) {
    std::string key = lower(std::string(1, letter) + ":");
    return state().folders.count(key) ? hold(key) : nullptr;
}

Handle openFolderIn(Handle folder, const char* name) {  // "" names the folder itself
    if (!validUtf8(name)) return nullptr;
    std::string key = static_cast<OpenFile*>(folder)->path + (*name ? "\\" : "") + lower(name);
    return state().folders.count(key) ? hold(key) : nullptr;
}

bool deleteIn(Handle folder, const char* name, bool isFolder) {
    if (!validUtf8(name)) return false;
    std::string key = static_cast<OpenFile*>(folder)->path + "\\" + lower(name);
    return isFolder ? removeEmptyFolder(key, key) : deleteKey(key, key);
}

void closeFolder(Handle folder) { releaseFolder(folder); }

bool deleteFile(const char* path) {
    return !fails("deleteFile", path) && deleteKey(throughLinks(pathKey(path)), path);
}

namespace {
// A path with neither a drive nor a leading "\" names a file in the current folder.
std::string inCurrentFolder(const std::string& path) {
    bool relative = path.empty() || (path[0] != '\\' && path.find(':') != 1);
    return relative ? state().currentFolder + "\\" + path : path;
}
}  // namespace

bool moveFileNoReplace(const char* from, const char* to) {
    std::string source = lower(from), target = lower(inCurrentFolder(to));
    if (fails("moveFile", from) || !state().files.count(source) || state().files.count(target) ||
        inUse(source) || !state().folders.count(parentOf(target)))
        return false;
    state().files[target] = state().files[source];
    state().files.erase(source);
    state().fileIds[target] = fileIdOf(source);
    state().fileIds.erase(source);
    if (state().busyFiles.erase(source)) state().busyFiles.insert(target);
    log(std::string("move ") + from + " -> " + to);
    return true;
}

bool setNormalAttributes(const char* path) {
    if (!fileExists(path)) return false;
    log(std::string("normal ") + path);
    return true;
}

Handle findFirstFile(const char* pattern, FoundFile* found) {
    if (fails("findFirstFile", pattern)) return nullptr;
    std::string namePattern = std::string(pattern).substr(parentOf(pattern).size() + 1);
    if (namePattern == "*.*") namePattern = "*";  // as on Windows: names without a dot too
    std::string folder = throughLinks(parentOf(pathKey(pattern)));  // the folder's name as given
    auto* search = new Search;
    auto consider = [&](const std::string& key, bool isFolder) {
        if (parentOf(key) != folder) return;
        std::string name = key.substr(folder.size() + 1);
        if (!wildcardMatch(namePattern.c_str(), name.c_str())) return;
        FoundFile file{};
        snprintf(file.name, sizeof file.name, "%s", name.c_str());
        file.isFolder = isFolder;
        search->matches.push_back(file);
    };
    for (const auto& entry : state().folders) consider(entry.first, true);
    for (const auto& entry : state().folderLinks) consider(entry.first, true);
    for (const auto& entry : state().files) consider(entry.first, false);
    if (search->matches.empty()) {
        delete search;
        return nullptr;
    }
    *found = search->matches[search->next++];
    ++state().open["search"];
    return search;
}

bool findNextFile(Handle handle, FoundFile* found) {
    auto* search = static_cast<Search*>(handle);
    if (search->next >= search->matches.size()) return false;
    *found = search->matches[search->next++];
    return true;
}

// FindFirstFileW: a search handle stays open until FindClose closes it.
void findClose(Handle handle) {
    --state().open["search"];
    delete static_cast<Search*>(handle);
}

}  // namespace platform

namespace fake {

bool replaceFolderWithLink(const std::string& folder, const std::string& target) {
    std::string key = lower(folder);
    if (state().heldFolders.count(key) || !state().folders.erase(key)) return false;
    state().folderLinks[key] = target;
    return true;
}

}  // namespace fake
