#!/usr/bin/env bash
# The basic settings page on a Simplified Chinese system.
exec bash "$(dirname "$0")/basic.sh" zh
