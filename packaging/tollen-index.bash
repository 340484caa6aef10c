# Bash completion for tollen-index: its options, and folders for the database root. It needs
# nothing but bash itself.

_tollen_index()
{
    local cur=${COMP_WORDS[COMP_CWORD]}
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--quiet --verbose --rebuild --help --version" -- "$cur"))
        return
    fi
    local IFS=$'\n'
    COMPREPLY=($(compgen -d -- "$cur"))
    compopt -o filenames 2>/dev/null
}
complete -F _tollen_index tollen-index
