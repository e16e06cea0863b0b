# Sourced (not run) by the scripts that run under set -e: a failed command that ends one says
# which command, where and with what status, instead of ending it without a word. Conditions
# (if, while, &&, ||, !) never come here; a failure inside a subshell or a command substitution
# is told where its status ends the script, so one that is expected there stays quiet.
set -E
ql_on_error() { # ql_on_error STATUS PIPE-STATUSES
  [[ $- == *e* && $BASHPID == "$$" ]] || return 0
  local where="${BASH_SOURCE[1]}:${BASH_LINENO[0]}" pipe=""
  [[ ${FUNCNAME[1]} == main || ${FUNCNAME[1]} == source ]] || where+=" in ${FUNCNAME[1]}"
  [[ $2 == *" "* ]] && pipe=" (pipeline: $2)"
  echo "error: '$BASH_COMMAND' failed with status $1$pipe at $where" >&2
}
trap 'ql_on_error $? "${PIPESTATUS[*]}"' ERR
