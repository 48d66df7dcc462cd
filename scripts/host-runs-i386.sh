#!/usr/bin/env bash
# Exit status 0 when this host can execute 32-bit x86 programs (which Wine's
# 32-bit loader is). Some sandboxed kernels cannot.
/usr/lib/wine/wine --version >/dev/null 2>&1
