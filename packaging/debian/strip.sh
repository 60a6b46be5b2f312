#!/bin/sh
# Strips a program as Debian's own packaging does, which also drops the
# compiler's notes that the running program never reads.
exec strip --remove-section=.comment --remove-section=.note "$@"
