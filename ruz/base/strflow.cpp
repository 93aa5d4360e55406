#include "ruz/base/strflow.h"

namespace RUZ {

template class StringIFlow<char>;
template class StringIFlow<unsigned short>;
template class StringIFlow<ULong>;

}  // namespace RUZ
