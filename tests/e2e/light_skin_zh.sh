#!/usr/bin/env bash
# The Light skin with a dark text colour on a Simplified Chinese system.
exec bash "$(dirname "$0")/light_skin.sh" zh
