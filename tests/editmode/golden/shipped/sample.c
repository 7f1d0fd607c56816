#include <stdio.h>
/* A block comment
   over two rows with if and int inside */
static const int kLimit = 0x1F; // line comment
typedef struct point { int32_t x, y; } point;

int main(void) {
  char *text = "say \"hi\"";
  for (size_t i = 0; i < 10; ++i) {
    if (i % 2 == 0) continue;
    printf("%zu\n", i);
  }
  return NULL == text;
}
