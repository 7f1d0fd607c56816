#!/usr/bin/env python3
"""Module docstring
that spans rows with def inside."""
import sys

@dataclass
class Point:
    x: int = 0x10  # hexadecimal

    def norm(self) -> float:
        return (self.x ** 2) ** 0.5

print('single', "double", len(sys.argv))
