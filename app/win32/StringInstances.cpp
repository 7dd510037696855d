// The two string types, instantiated here. libstdc++ declares them extern templates, so every
// call would otherwise go to its own prebuilt instances, and a static link takes those whole,
// used or not, 70 KB of them. Instantiated in this executable, each member sits in a section of
// its own, and the linker keeps only those that the program calls.

#include <string>

template class std::basic_string<char>;
template class std::basic_string<wchar_t>;
