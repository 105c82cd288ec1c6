// The progress indicator: shown while the server works on a long event.
export function showProgress(progress) {
  const box = document.getElementById('progress');
  document.getElementById('progress-text').textContent = (progress && progress.text) || '正在处理，请稍候...';
  box.hidden = false;
}

export function hideProgress() {
  document.getElementById('progress').hidden = true;
}
