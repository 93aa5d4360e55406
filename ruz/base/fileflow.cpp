#include "ruz/base/fileflow.h"

#include <cstring>

#include "ruz/base/exception.h"

namespace RUZ {

namespace {

[[noreturn]] void raiseFile(std::int32_t code, std::source_location at = std::source_location::current()) {
    raiseIO(SourceFile::fileflow, code, at);
}

}  // namespace

void FileHandle::lend(std::FILE* f) {
    if (!attached_) close();
    handle_ = f;
    attached_ = true;
}

bool FileHandle::open(const char* path, const char* mode) {
    close();
    handle_ = std::fopen(path, mode);
    attached_ = false;
    return handle_ != nullptr;
}

bool FileHandle::close() {
    if (handle_ == nullptr) return false;
    const bool closed = attached_ || std::fclose(handle_) == 0;
    handle_ = nullptr;
    return closed;
}

bool FileHandle::seekToStart() { return std::fseek(handle_, 0, SEEK_SET) == 0; }

FileIFlow::~FileIFlow() { handle_.close(); }

bool FileIFlow::close() { return handle_.close(); }

bool FileIFlow::isOpen() const { return handle_.isOpen(); }

bool FileIFlow::rewind() {
    if (!isOpen() || !handle_.seekToStart()) return false;
    return IFlow::rewind();
}

char FileIFlow::read8() { return readByBytes<char>(); }
unsigned short FileIFlow::read16() { return readByBytes<unsigned short>(); }
ULong FileIFlow::read32() { return readByBytes<ULong>(); }

void FileIFlow::readBlock8(unsigned n, char* dest, unsigned& got) { readBlockOf(n, dest, got); }

void FileIFlow::readBlock16(unsigned n, unsigned short* dest, unsigned& got) {
    readBlockOf(n, dest, got);
}

void FileIFlow::readBlock32(unsigned n, ULong* dest, unsigned& got) { readBlockOf(n, dest, got); }

void FileIFlow::attach(std::FILE* f) {
    handle_.lend(f);
    setAtStart(false);
}

bool FileIFlow::open(const char* path) {
    if (!handle_.open(path, "rb")) return false;
    setAtStart(true);
    return true;
}

// Bytes come one at a time so that a unit cut short by the end of the file
// raises EndOfFlow; its bytes already read are lost.
template <CodeUnit T>
T FileIFlow::readByBytes() {
    if (!isOpen()) raiseFile(IOException::NotOpen);
    unsigned char bytes[sizeof(T)];
    for (unsigned char& b : bytes) {
        const int c = std::fgetc(handle_.get());
        if (c == EOF) raiseFile(IOException::EndOfFlow);
        b = static_cast<unsigned char>(c);
    }
    T u;
    std::memcpy(&u, bytes, sizeof u);
    setAtStart(false);
    return u;
}

template <CodeUnit T>
void FileIFlow::readBlockOf(unsigned n, T* dest, unsigned& got) {
    if (!isOpen()) raiseFile(IOException::NotOpen);
    got = static_cast<unsigned>(std::fread(dest, sizeof(T), n, handle_.get()));
    if (got != n) raiseFile(std::feof(handle_.get()) ? IOException::EndOfFlow : IOException::IoError);
    setAtStart(false);
}

FileOFlow::~FileOFlow() { handle_.close(); }

bool FileOFlow::close() { return handle_.close(); }

bool FileOFlow::isOpen() const { return handle_.isOpen(); }

bool FileOFlow::rewind() {
    if (!isOpen() || !handle_.seekToStart()) return false;
    return OFlow::rewind();
}

void FileOFlow::flush() {
    if (!isOpen()) raiseFile(IOException::NotOpen);
    if (std::fflush(handle_.get()) != 0) raiseFile(IOException::IoError);
}

void FileOFlow::write8(char u) { writeOne(u); }
void FileOFlow::write16(unsigned short u) { writeOne(u); }
void FileOFlow::write32(ULong u) { writeOne(u); }

void FileOFlow::writeBlock8(unsigned n, const char* src, unsigned& done) { writeBlockOf(n, src, done); }

void FileOFlow::writeBlock16(unsigned n, const unsigned short* src, unsigned& done) {
    writeBlockOf(n, src, done);
}

void FileOFlow::writeBlock32(unsigned n, const ULong* src, unsigned& done) { writeBlockOf(n, src, done); }

void FileOFlow::attach(std::FILE* f) {
    handle_.lend(f);
    setAtStart(false);
}

bool FileOFlow::open(const char* path) { return openWithMode(path, "wb"); }

bool FileOFlow::openForAppend(const char* path) { return openWithMode(path, "ab"); }

bool FileOFlow::openWithMode(const char* path, const char* mode) {
    if (!handle_.open(path, mode)) return false;
    setAtStart(true);
    return true;
}

template <CodeUnit T>
void FileOFlow::writeOne(T u) {
    if (!isOpen()) raiseFile(IOException::NotOpen);
    if (std::fwrite(&u, sizeof u, 1, handle_.get()) != 1) raiseFile(IOException::WriteFailed);
    setAtStart(false);
}

template <CodeUnit T>
void FileOFlow::writeBlockOf(unsigned n, const T* src, unsigned& done) {
    if (!isOpen()) raiseFile(IOException::NotOpen);
    done = static_cast<unsigned>(std::fwrite(src, sizeof(T), n, handle_.get()));
    if (done != n) raiseFile(IOException::WriteFailed);
    setAtStart(false);
}

}  // namespace RUZ
