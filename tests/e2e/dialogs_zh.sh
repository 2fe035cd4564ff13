#!/usr/bin/env bash
# The assignment dialogs on a Simplified Chinese system.
exec bash "$(dirname "$0")/dialogs.sh" zh
