#!/usr/bin/env bash
# The macro editor's page and delay dialog on a Simplified Chinese system,
# and a button that follows its macro when a macro before it is deleted.
exec bash "$(dirname "$0")/macros.sh" zh
