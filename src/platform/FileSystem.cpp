#include "platform/FileSystem.h"

#include "platform/IoError.h"

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string NameOf(const std::string& path) {
    const std::string trimmed = WithoutTrailingSlashes(path);
    const std::size_t slash = trimmed.rfind('/');
    return slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
}

int Result(int callResult) {
    return callResult == 0 ? 0 : LastIoError();
}

} // namespace

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::optional<FileStatus> GetFileStatus(const std::string& path) {
    struct stat linkInfo {};
    if (lstat(path.c_str(), &linkInfo) != 0)
        return std::nullopt;
    struct stat info = linkInfo;
    FileStatus status;
    if (S_ISLNK(linkInfo.st_mode)) {
        status.attributes |= faSymLink;
        if (stat(path.c_str(), &info) != 0)
            info = linkInfo;
    }
    if (S_ISDIR(info.st_mode))
        status.attributes |= faDirectory;
    else if (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))
        status.attributes |= faArchive;
    if ((info.st_mode & S_IWUSR) == 0)
        status.attributes |= faReadOnly;
    const std::string name = NameOf(path);
    if (name.size() > 1 && name[0] == '.' && name != "..")
        status.attributes |= faHidden;
    status.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::int64_t>(info.st_size);
    status.modified = info.st_mtime;
    return status;
}

std::optional<std::uint32_t> GetFileAttributes(const std::string& path) {
    const auto status = GetFileStatus(path);
    if (!status)
        return std::nullopt;
    return status->attributes;
}

bool SetFileAttributes(const std::string& path, std::uint32_t attributes) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return false;
    if (S_ISLNK(info.st_mode))
        return true;
    const mode_t permissions = info.st_mode & 07777;
    const mode_t wanted = (attributes & faReadOnly) != 0
                              ? permissions & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)
                              : permissions | S_IWUSR;
    return wanted == permissions || chmod(path.c_str(), wanted) == 0;
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

int DeleteFile(const std::string& path) {
    return Result(unlink(path.c_str()));
}

int RemoveFolder(const std::string& path) {
    return Result(rmdir(path.c_str()));
}

int CreateFolder(const std::string& path) {
    return Result(mkdir(path.c_str(), 0777));
}

} // namespace platform
