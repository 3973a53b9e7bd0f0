#include <cstdio>

int main(int, char**) {
    std::puts("Kestrune");
    return 0;
}
