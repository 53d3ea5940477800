// The page's questions: yes or no, and a file name with the question
// whether to replace a file that exists, naming it.
import {ApiError} from './api.js';
import {t} from './texts.js';

const $ = (id) => document.getElementById(id);

// Asks `question` with the buttons `yes` and `no` (texts); resolves true
// for yes, false for no, null for Escape.
export function ask(question, yes, no) {
  const dialog = $('ask-dialog');
  $('ask-question').textContent = question;
  $('ask-yes').textContent = yes;
  $('ask-no').textContent = no;
  return new Promise((resolve) => {
    let answer = null;
    $('ask-yes').onclick = () => { answer = true; dialog.close(); };
    $('ask-no').onclick = () => { answer = false; dialog.close(); };
    dialog.onclose = () => resolve(answer);
    dialog.showModal();
    $('ask-yes').focus();
  });
}

// Asks for a file name in the page's dialog, then runs `send(name,
// overwrite)` and resolves with the text it returns (null when the author
// gives up). `names(name)`, when given, lists the files the name stands for,
// shown under the field. A 409 "exists" asks whether to replace the file
// the server names (one of `names` or the name itself).
export function askName(question, suggestion, send, names) {
  const dialog = $('name-dialog');
  const input = $('name-input');
  const exists = $('name-exists');
  const preview = $('name-files');
  $('name-question').textContent = question;
  input.value = suggestion;
  let overwrite = false;
  const reset = () => {
    overwrite = false;
    exists.hidden = true;
    $('name-ok').textContent = t('ok');
    if (names) {
      const name = input.value.trim();
      preview.textContent = name ? t('exportFiles', names(name).join(', ')) : '';
    }
    preview.hidden = !names;
  };
  reset();
  return new Promise((resolve) => {
    let done = null;
    $('name-form').onsubmit = async (event) => {
      event.preventDefault();
      const name = input.value.trim();
      if (!name) return;
      try {
        done = await send(name, overwrite);
        dialog.close();
      } catch (e) {
        if (e instanceof ApiError && e.status === 409 && e.data.exists) {
          exists.textContent = existsQuestion(e, names ? names(name) : [name]);
          exists.hidden = false;
          overwrite = true;
          $('name-ok').textContent = t('replace');
        } else {
          done = e;
          dialog.close();
        }
      }
    };
    $('name-cancel').onclick = () => dialog.close();
    dialog.onclose = () => resolve(done);
    input.oninput = reset;
    dialog.showModal();
    input.focus();
    input.select();
  });
}

// "Fajl „x.ipuz“ postoji. Da ga zamenim?" for the file of `names` that the
// server's refusal names.
function existsQuestion(error, names) {
  const file = names.find((name) => error.message.includes(name));
  return file !== undefined ? t('exists', file) : t('existsSome', names.join(', '));
}
