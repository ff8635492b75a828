#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace stackmason {

// Writes a file so that a failure never costs the file that was there before: the bytes go
// to a new file in the same folder, which replaces the target by a rename only once all of
// them were written and flushed to disk. Until Commit succeeds the target is untouched, and
// a writer that is dropped without committing removes its temporary file.
class AtomicFileWriter {
public:
    enum class Result { Written, CannotCreate, WriteFailed };

    // Creates the temporary file; Created() tells whether that worked. A target that exists
    // but may not be written, or that is a folder, counts as a file that cannot be created.
    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool Created() const { return fd_ >= 0 || committed_; }

    // After the first failed write every further one is skipped; Commit reports it.
    void Write(std::span<const std::uint8_t> bytes);

    // Flushes, syncs and closes the temporary file and renames it over the target.
    Result Commit();

    // The system's reason for the last failure, such as "No space left on device".
    const std::string& FailureReason() const { return failureReason_; }

private:
    bool CreateTemporary();
    bool FlushBuffer();
    bool WriteAll(const std::uint8_t* data, std::size_t size);
    void Fail();
    void Discard();

    std::string targetPath_;
    std::string temporaryPath_;
    int fd_ = -1;
    bool failed_ = false;
    bool committed_ = false;
    std::string failureReason_;
    std::vector<std::uint8_t> buffer_;
};

}  // namespace stackmason
