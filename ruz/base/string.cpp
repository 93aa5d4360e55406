#include "ruz/base/string.h"

namespace RUZ {

template class StringPtr<char>;
template class StringPtr<unsigned short>;
template class StringPtr<ULong>;
template class SubString<char>;
template class SubString<unsigned short>;
template class SubString<ULong>;
template class String<char>;
template class String<unsigned short>;
template class String<ULong>;
template class SubStringIterator<char>;
template class SubStringIterator<unsigned short>;
template class SubStringIterator<ULong>;

}  // namespace RUZ
