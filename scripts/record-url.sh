#!/bin/sh
# Wine's browser: appends each web address it is asked to open to the file
# named by VELMARSH_URL_LOG (or $HOME/.velmarsh-urls), one per line.
printf '%s\n' "$1" >> "${VELMARSH_URL_LOG:-$HOME/.velmarsh-urls}"
