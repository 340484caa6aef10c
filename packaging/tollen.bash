# Bash completion for tollen: the one argument is a hardware profile, registry export or
# offline hive, so file names are offered. It needs nothing but bash itself.

_tollen()
{
    local IFS=$'\n'
    COMPREPLY=($(compgen -f -- "${COMP_WORDS[COMP_CWORD]}"))
    compopt -o filenames 2>/dev/null
}
complete -F _tollen tollen
