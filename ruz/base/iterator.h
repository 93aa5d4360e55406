#ifndef RUZ_BASE_ITERATOR_H
#define RUZ_BASE_ITERATOR_H

#include "ruz/base/object.h"

namespace RUZ {

// The library's cursor: over list elements (LinkIterator) and over the code
// units of a string (SubStringIterator, which iterates `const` units).
// Lookups answer null, 0 or false where there is nothing; nothing throws.
template <class T>
class Iterator : public Object {
public:
    virtual ~Iterator() = default;

    virtual T* current() const = 0;
    virtual T* next() = 0;
    virtual T* previous() = 0;
    virtual T* first() = 0;
    virtual T* last() = 0;
    virtual bool hasMore() const = 0;
    virtual unsigned position() const = 0;
    virtual bool atEnd() const { return !hasMore(); }
};

}  // namespace RUZ

#endif
