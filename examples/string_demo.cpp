// Builds a few strings in all three unit widths and shows how the storage
// block behaves: front removal without moving, sliding before growing.
#include <cstdio>

#include "ruz/base/string.h"

using RUZ::String;
using RUZ::SubStringIterator;

template <class T>
static void show(const char* label, const String<T>& s) {
    std::printf("%-28s \"", label);
    SubStringIterator<T> it(s);
    while (const T* u = it.next()) std::printf("%c", static_cast<char>(*u));
    std::printf("\"  length %u, block %u units, content at %u\n", s.length(), s.capacity(),
                s.blockOffset());
}

template <class T>
static void tour(const char* width) {
    std::printf("-- %s-bit units, %u byte(s) each\n", width, unsigned(sizeof(T)));
    const T hello[] = {'h', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd', 0};
    String<T> s(hello);
    show("constructed from text", s);
    s.remove(0, 7);
    show("front dropped (nothing moved)", s);
    s.append(T('!'));
    show("append slides, no growth", s);
    s.append(s);
    show("appended to itself", s);
    s.remove(2, 3);
    show("middle removed", s);
}

int main() {
    tour<char>("8");
    tour<unsigned short>("16");
    tour<RUZ::ULong>("32");
    return 0;
}
