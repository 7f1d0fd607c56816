/*
 * ring.c - a fixed-size ring buffer.
 */
#include <stdio.h>
#include <string.h>

#define RING_SIZE 0x40  /* must be a power of two */
#define MASK (RING_SIZE - 1)

typedef struct {
	unsigned char data[RING_SIZE];
	int head, tail;  // head: next write
} Ring;

static const double kLoad = 0.75, kTiny = 1e-9, kBig = 2.5E+10;

int ring_put(Ring *r, int c)
{
	if (((r->head + 1) & MASK) == r->tail) return -1; /* full */
	r->data[r->head] = (unsigned char)c;
	r->head = (r->head + 1) & MASK;
	return c;
}

int main(void)
{
	Ring r = {{0}, 0, 0};
	const char *msg = "see http://example.com // not a comment";
	ring_put(&r, 'x'); /* one /* two */ ring_put(&r, 12.);
	printf("%d items, ""empty"" %s\n", r.head - r.tail, msg); // done
	return 0x0;	/* a comment
	             that goes on */ }
