#ifndef RUZ_BASE_STRFLOW_H
#define RUZ_BASE_STRFLOW_H

#include <memory>
#include <type_traits>

#include "ruz/base/exception.h"
#include "ruz/base/flow.h"
#include "ruz/base/string.h"

namespace RUZ {

// Reads the units of a string in place, one at a time. The string is neither
// copied nor owned and must outlive the flow while it is open; units appended
// to it are seen by later reads, also after the end was met. Reads of the
// other two widths raise Unsupported.
template <CodeUnit T>
class StringIFlow : public IFlow {
public:
    // Not open when `s` is null.
    explicit StringIFlow(const String<T>* s) : IFlow(unitKind<T>()), string_(s) {
        if (s != nullptr) iterator_ = std::make_unique<SubStringIterator<T>>(*s);
        setOpen(s != nullptr);
    }

    // Forgets the string without touching it.
    bool close() override {
        if (!isOpen()) return false;
        iterator_.reset();
        string_ = nullptr;
        setOpen(false);
        return true;
    }
    bool isOpen() const override { return iterator_ != nullptr; }
    bool rewind() override {
        if (!isOpen()) return false;
        iterator_->first();
        return true;
    }
    // Taken from the position in the string: an empty string is always at
    // its start.
    bool isAtStart() const override {
        if (!isOpen()) return false;
        return string_->length() == 0 || iterator_->position() == 1;
    }
    char read8() override {
        if constexpr (std::is_same_v<T, char>) return nextUnit();
        else refuseWidth();
    }
    unsigned short read16() override {
        if constexpr (std::is_same_v<T, unsigned short>) return nextUnit();
        else refuseWidth();
    }
    ULong read32() override {
        if constexpr (std::is_same_v<T, ULong>) return nextUnit();
        else refuseWidth();
    }

private:
    T nextUnit() {
        if (!isOpen()) raiseIO(SourceFile::strflow, IOException::NotOpen);
        const T* unit = iterator_->next();
        if (unit == nullptr) raiseIO(SourceFile::strflow, IOException::EndOfFlow);
        return *unit;
    }

    [[noreturn]] static void refuseWidth(std::source_location at = std::source_location::current()) {
        raiseIO(SourceFile::strflow, IOException::Unsupported, at);
    }

    std::unique_ptr<SubStringIterator<T>> iterator_;
    const String<T>* string_;
};

extern template class StringIFlow<char>;
extern template class StringIFlow<unsigned short>;
extern template class StringIFlow<ULong>;

}  // namespace RUZ

#endif
