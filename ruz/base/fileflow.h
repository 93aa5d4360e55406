#ifndef RUZ_BASE_FILEFLOW_H
#define RUZ_BASE_FILEFLOW_H

#include <cstdio>

#include "ruz/base/flow.h"

namespace RUZ {

// The runtime stream of a file flow and whether it was lent to the flow. A
// lent stream is never closed here; a stream the flow opened itself is
// closed by close() and on destruction.
class FileHandle : public Object {
public:
    FileHandle() = default;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { close(); }

    std::FILE* get() const { return handle_; }
    bool isOpen() const { return handle_ != nullptr; }
    bool attached() const { return attached_; }

    // Takes a lent stream in place of the current one. A lent stream is
    // replaced without being closed; an owned one is closed, as nothing else
    // could close it.
    void lend(std::FILE* f);
    // Opens a named file with `mode` after closing the current stream as
    // close() does; false, and no stream, when the runtime cannot open it.
    bool open(const char* path, const char* mode);
    // False without a stream. Otherwise drops the stream, closing it when
    // owned: true when lent or when fclose succeeded. `attached` is kept.
    bool close();
    // Seeks to the start; false when the stream cannot seek.
    bool seekToStart();

private:
    std::FILE* handle_ = nullptr;
    bool attached_ = false;
};

// Reads units of all three widths from a runtime stream, each as its bytes
// in host order.
class FileIFlow : public IFlow {
public:
    FileIFlow() : IFlow(AllUnitKinds) {}

    // Does what close() does.
    ~FileIFlow() override;
    bool close() override;
    bool isOpen() const override;
    bool rewind() override;
    char read8() override;
    unsigned short read16() override;
    ULong read32() override;
    // One runtime read per block. Unlike the default, a short block raises
    // EndOfFlow (at end of file) or IoError, with `got` counting the units.
    void readBlock8(unsigned n, char* dest, unsigned& got) override;
    void readBlock16(unsigned n, unsigned short* dest, unsigned& got) override;
    void readBlock32(unsigned n, ULong* dest, unsigned& got) override;

    // Reads from a stream lent by its owner, who keeps it open afterwards. A
    // lent stream is not assumed to be at its beginning.
    void attach(std::FILE* f);
    // Opens a named file for binary reading; false when it cannot be opened,
    // leaving the flow not open.
    bool open(const char* path);

private:
    template <CodeUnit T>
    T readByBytes();
    template <CodeUnit T>
    void readBlockOf(unsigned n, T* dest, unsigned& got);

    FileHandle handle_;
};

// Writes units of all three widths to a runtime stream, each as its bytes in
// host order.
class FileOFlow : public OFlow {
public:
    FileOFlow() : OFlow(AllUnitKinds) {}

    // Does what close() does.
    ~FileOFlow() override;
    bool close() override;
    bool isOpen() const override;
    bool rewind() override;
    void flush() override;
    void write8(char u) override;
    void write16(unsigned short u) override;
    void write32(ULong u) override;
    // One runtime write per block; a short write raises WriteFailed with
    // `done` counting the units written.
    void writeBlock8(unsigned n, const char* src, unsigned& done) override;
    void writeBlock16(unsigned n, const unsigned short* src, unsigned& done) override;
    void writeBlock32(unsigned n, const ULong* src, unsigned& done) override;

    // Writes to a stream lent by its owner, who keeps it open afterwards.
    void attach(std::FILE* f);
    // Creates or empties a named file for binary writing; false when it
    // cannot be opened, leaving the flow not open.
    bool open(const char* path);
    // Opens a named file for binary writing after its current content,
    // creating it when missing; false when it cannot be opened.
    bool openForAppend(const char* path);

private:
    bool openWithMode(const char* path, const char* mode);
    template <CodeUnit T>
    void writeOne(T u);
    template <CodeUnit T>
    void writeBlockOf(unsigned n, const T* src, unsigned& done);

    FileHandle handle_;
};

}  // namespace RUZ

#endif
