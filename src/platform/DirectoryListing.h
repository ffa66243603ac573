#pragma once
// Listing one directory for the source-tree scan.
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// Which directory on disk a path reaches: two paths with the same identity
// lead to the same directory, whatever links lie on the way.
struct DirectoryIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const DirectoryIdentity &o) const { return volume == o.volume && index == o.index; }
    bool operator!=(const DirectoryIdentity &o) const { return !(*this == o); }
};

// The identity of the directory a native path leads to (links followed), or
// nothing when it is no directory or cannot be read.
std::optional<DirectoryIdentity> directoryIdentity(const QString &nativePath);

// The identities of the directory a native path leads to and of every
// directory above it on the way to the root of its file system, found
// through its real path (links resolved): whatever leads to one of them
// leads up the tree. Empty when the path is no directory.
std::vector<DirectoryIdentity> identitiesFromHereUp(const QString &nativeDir);

// A folder below a native root, its levels joined by "\", as the system
// lists each level's own name: on Windows, whose names match whatever their
// case, the name written on disk; elsewhere the name as given. Nothing when
// some level is no folder there.
std::optional<QString> listedFolder(const QString &nativeRoot, const QString &levels);

// Walks the names of one directory: on Windows in the order the file system
// returns them, elsewhere in the order Windows (NTFS) would, by name without
// regard to case, the names' bytes breaking ties. Hidden entries are never
// returned: on Windows those with the hidden
// or system attribute, elsewhere names that begin with a dot (so "." and
// ".." never appear there either). The attributes of an entry are read only
// when asked for, and at most once.
class DirectoryListing
{
public:
    // Which names a listing hands out: every one, or (where the listing says
    // what an entry is, as it does on Linux) none it says is no directory.
    enum class Names { All, MayBeFolders };
    // nativeDir: the directory in the file system's own form.
    explicit DirectoryListing(const QString &nativeDir, Names names = Names::All);
    // The directory `name` (one this listing handed out) inside the one that
    // `parent` lists, with the parent's choice of names: reached through the
    // parent, which must still be open, rather than by a whole path built and
    // looked up anew.
    DirectoryListing(const DirectoryListing &parent, const QString &name);
    ~DirectoryListing();
    DirectoryListing(const DirectoryListing &) = delete;
    DirectoryListing &operator=(const DirectoryListing &) = delete;

    // False when the directory could not be opened for listing.
    bool isOpen() const;

    // Moves to the next name; false when the listing is exhausted (or a read
    // failed, which ends it the same way).
    bool next();
    const QString &name() const { return m_name; }
    // False when name() is not the file system's name exactly: bytes that
    // are no text in its encoding, shown with a stand-in character, so that
    // name() would reach another folder or none.
    bool nameIsExact() const;

    // Attributes of the current entry, links followed. An entry whose
    // attributes cannot be read counts as no directory.
    bool isDirectory();
    // The entry is itself a link (symbolic link, junction) to a directory.
    bool isLinkToDirectory();
    // Identity of the directory the current entry leads to.
    std::optional<DirectoryIdentity> identity();
    // Identity of the directory listed.
    std::optional<DirectoryIdentity> ownIdentity() const;

private:
    struct Impl;
    void readAttributes();
    void startListing();

    std::unique_ptr<Impl> d;
    QString m_name;
    bool m_attributesRead = false;
    bool m_isDirectory = false;
    bool m_isLink = false;
    std::optional<DirectoryIdentity> m_identity;
};

} // namespace platform
