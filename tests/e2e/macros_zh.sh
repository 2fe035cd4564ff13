#!/usr/bin/env bash
# The macro editor's page and delay dialog on a Simplified Chinese system.
exec bash "$(dirname "$0")/macros.sh" zh
