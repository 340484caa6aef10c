# Bash completion for tollen-cli: commands, each command's options, formats, and file names
# where a command takes a file. It needs nothing but bash itself.

_tollen_cli_files()
{
    local IFS=$'\n'
    COMPREPLY=($(compgen -f -- "$1"))
    compopt -o filenames 2>/dev/null
}

_tollen_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local cword=$COMP_CWORD
    local words=("${COMP_WORDS[@]}")

    local commands="devices profile criteria search match download fetch info"
    local common="--help --version --format"
    local network="--http --ftp --base-path --user --password-file --ca-file"

    case $prev in
        --format)
            COMPREPLY=($(compgen -W "text tsv json" -- "$cur"))
            return
            ;;
        --password-file | --ca-file | -o | --output)
            _tollen_cli_files "$cur"
            return
            ;;
        --to)
            COMPREPLY=($(compgen -d -- "$cur"))
            compopt -o filenames 2>/dev/null
            return
            ;;
        --arch)
            COMPREPLY=($(compgen -W "x86 amd64 arm64 arm ia64" -- "$cur"))
            return
            ;;
        --bus)
            COMPREPLY=($(compgen -W "pci usb" -- "$cur"))
            return
            ;;
        --http | --ftp | --base-path | --user | --refine | --os)
            return
            ;;
    esac

    # The command: the first word that is not an option or an option's value.
    local i command=""
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --format | --password-file | --ca-file | -o | --output | --http | --ftp | \
                --base-path | --user | --refine | --arch | --os | --bus | --to)
                ((i++))
                ;;
            -*) ;;
            *)
                command=${words[i]}
                break
                ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$common" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local options="$common"
    case $command in
        criteria) options+=" --bus" ;;
        search) options+=" --refine --yes --bus $network" ;;
        match) options+=" --missing --updates --all-rows --vendor --arch --os --bus $network" ;;
        download) options+=" --output --continue $network" ;;
        fetch) options+=" --to --missing --updates --all --arch --os --bus $network" ;;
        info) options+=" $network" ;;
        profile)
            if [[ $((i + 1)) -eq $cword ]]; then
                COMPREPLY=($(compgen -W "save" -- "$cur"))
                return
            fi
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $command in
        devices | match | profile | fetch) _tollen_cli_files "$cur" ;;
    esac
}
complete -F _tollen_cli tollen-cli
