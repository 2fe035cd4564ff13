#!/usr/bin/env bash
# An Apply the mouse does not take whole, on a Simplified Chinese system.
exec bash "$(dirname "$0")/apply_faults.sh" zh
